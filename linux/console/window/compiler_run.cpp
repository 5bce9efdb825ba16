#include "compiler_run.h"

#include "run_ending.h"
#include "system_file_access.h"

#include <csignal>

class CompilerRun::Reader : public TerminalPump::Listener {
public:
    explicit Reader(CompilerRun& run)
        : m_run(run)
    {
    }

    void output(std::string_view bytes) override
    {
        {
            const std::lock_guard lock(m_run.m_lock);
            m_run.m_text.feed(bytes);
        }
        m_run.announceOutput();
    }

    // The ending reads the file and its map, which takes time: outside the lock the window takes.
    std::chrono::milliseconds ended(int waitStatus) override
    {
        RunEnding ending = m_run.m_watch.end(SystemFileAccess(), runExitOf(waitStatus));
        {
            const std::lock_guard lock(m_run.m_lock);
            m_run.m_text.setEnding(std::move(ending));
        }
        m_run.announceOutput();
        QMetaObject::invokeMethod(&m_run, [run = &m_run, waitStatus] { run->markEnded(waitStatus); });
        return TerminalPump::kUntilNoWriter; // what its children still write goes above the ending line
    }

private:
    CompilerRun& m_run;
};

CompilerRun::CompilerRun(PseudoTerminal terminal, RunWatch watch, QObject* parent)
    : QObject(parent)
    , m_terminal(std::move(terminal))
    , m_watch(std::move(watch))
    , m_pump(m_terminal)
{
    for (QTimer* grace : {&m_terminate, &m_kill}) {
        grace->setSingleShot(true);
        grace->setTimerType(Qt::PreciseTimer); // a grace is never cut short
    }
    connect(&m_terminate, &QTimer::timeout, this, [this] {
        m_pump.sendSignal(SIGTERM);
        m_kill.start(kKillGraceMs);
    });
    connect(&m_kill, &QTimer::timeout, this, [this] { m_pump.sendSignal(SIGKILL); });
}

CompilerRun::~CompilerRun()
{
    if (m_reader.joinable()) {
        m_pump.stop();
        m_reader.join();
    }
}

void CompilerRun::start()
{
    m_reader = std::thread([this] {
        Reader reader(*this);
        m_pump.run(reader);
    });
}

ConsoleText::Update CompilerRun::takeUpdate()
{
    m_announced = false;
    const std::lock_guard lock(m_lock);
    return m_text.takeUpdate();
}

void CompilerRun::close()
{
    if (m_ended || m_terminate.isActive() || m_kill.isActive()) {
        return;
    }
    m_pump.sendSignal(SIGHUP);
    m_terminate.start(kTerminateGraceMs);
}

// Called from the reader thread; the signal crosses to the window's thread queued.
void CompilerRun::announceOutput()
{
    if (!m_announced.exchange(true)) {
        emit outputArrived();
    }
}

void CompilerRun::markEnded(int waitStatus)
{
    m_ended = true;
    m_terminate.stop();
    m_kill.stop();
    emit ended(waitStatus);
}
