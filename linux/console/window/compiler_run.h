#pragma once

#include "console_text.h"
#include "pseudo_terminal.h"
#include "run_watch.h"
#include "terminal_pump.h"

#include <QObject>
#include <QTimer>
#include <atomic>
#include <mutex>
#include <thread>

// Watches a program on its pseudo-terminal from a reader thread of its own, so that the program
// never waits for the window to repaint: the thread turns the output into text as it comes, and
// the window takes what is new when it is ready. Memory stays bounded by the text's scrollback.
// The text ends with the watch's line: how the run ended and whether it wrote its file.
class CompilerRun : public QObject {
    Q_OBJECT

public:
    // After the hang-up, how long the program has before SIGTERM, then before SIGKILL.
    static constexpr int kTerminateGraceMs = 3000;
    static constexpr int kKillGraceMs = 2000;

    CompilerRun(PseudoTerminal terminal, RunWatch watch, QObject* parent = nullptr);
    ~CompilerRun() override;

    // Starts reading. The end is announced queued, so a listener connected before the event loop
    // runs hears it; output announced before a listener connected is for it to take at once.
    void start();

    bool hasEnded() const { return m_ended; }
    // Thread-safe: what is new in the text since the last take.
    ConsoleText::Update takeUpdate();

    // Ends the program as closing its console window does: a hang-up to its process group at once,
    // then SIGTERM and SIGKILL each after a grace, for a program that will not go; nothing once it
    // has ended.
    void close();

signals:
    // New text to take; sent once until the next take.
    void outputArrived();
    void ended(int waitStatus);

private:
    class Reader;

    void announceOutput();
    void markEnded(int waitStatus);

    PseudoTerminal m_terminal;
    const RunWatch m_watch;
    TerminalPump m_pump;
    std::mutex m_lock;
    ConsoleText m_text;
    std::atomic<bool> m_announced{false};
    bool m_ended = false;
    QTimer m_terminate;
    QTimer m_kill;
    std::thread m_reader;
};
