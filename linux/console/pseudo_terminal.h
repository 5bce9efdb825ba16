#pragma once

#include "owned_descriptor.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <sys/types.h>
#include <system_error>
#include <vector>

// A program started on a pseudo-terminal of its own, as a terminal window starts one: the terminal
// is its controlling terminal and its standard output and error, so its C library flushes line by
// line instead of in 4 KiB lumps. Its standard input is /dev/null, TERM says "dumb", it inherits no
// other descriptor, and the rest of the environment and the working directory are this process's.
class PseudoTerminal {
public:
    // Why start() failed: the program could not be executed, or (setUp) no terminal could be made
    // for it and nothing was started.
    class StartError : public std::system_error {
    public:
        StartError(int error, bool setUp);
        bool inSetUp() const { return m_setUp; }

    private:
        bool m_setUp;
    };

    // Returns once the program has been executed; throws StartError otherwise.
    static PseudoTerminal start(const std::string& program, const std::vector<std::string>& arguments);
    // Takes over a terminal and its program from the process this one was before an exec: the
    // program must be this process's child. Nothing when the descriptor or the child is not there.
    static std::optional<PseudoTerminal> adopt(int master, pid_t pid);

    PseudoTerminal(PseudoTerminal&& other) noexcept;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(PseudoTerminal&&) = delete;

    // The terminal's master side, non-blocking, for an event loop to watch.
    int descriptor() const { return m_master.get(); }
    pid_t pid() const { return m_pid; }

    // Lets the master side survive an exec of this process, for adopt() on the other side.
    bool keepAcrossExec();

    // What the program wrote so far, without waiting: the count read (0 when nothing is there yet),
    // or nothing once no writer is left on the terminal.
    std::optional<std::size_t> read(std::span<char> buffer);

    // The wait status once the program has ended; never waits.
    std::optional<int> reap();

    // Sends a signal to the program's process group, as a terminal's hang-up does; nothing once the
    // program has been reaped, so that a reused process number is never hit.
    void signalGroup(int signal);

private:
    PseudoTerminal(OwnedDescriptor master, pid_t pid);

    OwnedDescriptor m_master;
    pid_t m_pid = -1;
    std::optional<int> m_status;
};
