#pragma once

#include "child_watch.h"
#include "owned_descriptor.h"
#include "pseudo_terminal.h"

#include <array>
#include <chrono>
#include <string_view>

// Moves what a program writes to its terminal on to a listener as fast as it comes, and says when
// the program ended: the one loop behind the console's reader thread and its plain relay. The
// loop waits on the terminal, on the program's end (through a pidfd, or by looking every 100 ms
// where there is none) and on requests from other threads.
class TerminalPump {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void output(std::string_view bytes) = 0;
        // Called once, after the last output written before the end; how long to go on reading
        // what the program's children still write, at most: until no writer is left, stop() is
        // called, or that time has passed.
        virtual std::chrono::milliseconds ended(int waitStatus) = 0;

    protected:
        Listener() = default;
        Listener(const Listener&) = default;
        Listener& operator=(const Listener&) = default;
    };

    static constexpr std::chrono::milliseconds kUntilNoWriter = std::chrono::milliseconds::max();

    // Throws std::system_error when it cannot make the pipe other threads reach it by.
    explicit TerminalPump(PseudoTerminal& terminal);
    TerminalPump(const TerminalPump&) = delete;
    TerminalPump& operator=(const TerminalPump&) = delete;

    void run(Listener& listener);

    // From any thread: ends run() soon, or has it send a signal to the program's process group
    // (the loop alone reaps the program, so a signal never reaches a reused process number).
    void stop();
    void sendSignal(int signal);

private:
    enum class Drained { Open, NoWriterLeft };
    Drained drain(Listener& listener);
    bool handleRequests();

    PseudoTerminal& m_terminal;
    std::array<OwnedDescriptor, 2> m_wake; // read end, write end
    ChildWatch m_watch;
};
