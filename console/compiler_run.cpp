#include "compiler_run.h"

#include <array>

namespace {

constexpr std::size_t kChunk = 64 * 1024;
// Read at most this much before the event loop gets a turn, so the window stays responsive.
constexpr int kChunksPerTurn = 16;
// How often an end is looked for while the program keeps its terminal open.
constexpr int kReapIntervalMs = 100;

} // namespace

CompilerRun::CompilerRun(PseudoTerminal terminal, QObject* parent)
    : QObject(parent)
    , m_terminal(std::move(terminal))
    , m_notifier(m_terminal.descriptor(), QSocketNotifier::Read)
{
    connect(&m_notifier, &QSocketNotifier::activated, this, &CompilerRun::readAvailable);
    connect(&m_reaper, &QTimer::timeout, this, &CompilerRun::checkEnded);
    m_reaper.start(kReapIntervalMs);
}

void CompilerRun::hangUp()
{
    if (!m_ended) {
        m_terminal.hangUp();
    }
}

void CompilerRun::readAvailable()
{
    std::array<char, kChunk> buffer;
    for (int turn = 0; turn < kChunksPerTurn; ++turn) {
        const std::optional<std::size_t> got = m_terminal.read(buffer);
        if (!got) {
            // No writer is left: the program has ended, or is about to.
            m_notifier.setEnabled(false);
            checkEnded();
            return;
        }
        if (*got == 0) {
            return;
        }
        emit output(std::string_view(buffer.data(), *got));
    }
}

void CompilerRun::checkEnded()
{
    if (m_ended) {
        return;
    }
    const std::optional<int> status = m_terminal.reap();
    if (!status) {
        return;
    }
    // Marked first, so the last read below cannot report the end a second time.
    m_ended = true;
    m_reaper.stop();
    // What it wrote just before it ended comes before the news of its end.
    if (m_notifier.isEnabled()) {
        readAvailable();
    }
    emit ended(*status);
}
