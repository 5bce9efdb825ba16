#include "terminal_pump.h"

#include "retrying_calls.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <system_error>
#include <unistd.h>

namespace {

// A pseudo-terminal hands out at most one line discipline buffer (4 KiB) per read.
constexpr std::size_t kReadSize = 16 * 1024;
// Reads before the loop looks at requests again, so a flood cannot hold off a stop.
constexpr int kReadsPerTurn = 64;
constexpr int kReapIntervalMs = 100;
constexpr char kStop = 0;

int openPidfd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

} // namespace

TerminalPump::TerminalPump(PseudoTerminal& terminal)
    : m_terminal(terminal)
{
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) < 0) {
        throw std::system_error(errno, std::generic_category(), "no pipe for the terminal pump");
    }
    m_pidfd = openPidfd(terminal.pid());
    if (m_pidfd >= 0) {
        ::fcntl(m_pidfd, F_SETFD, FD_CLOEXEC);
    }
}

TerminalPump::~TerminalPump()
{
    for (const int descriptor : {m_wake[0], m_wake[1], m_pidfd}) {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }
}

void TerminalPump::stop()
{
    [[maybe_unused]] const ssize_t written = writeRetrying(m_wake[1], &kStop, 1);
}

void TerminalPump::sendSignal(int signal)
{
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = writeRetrying(m_wake[1], &number, 1);
}

// True when asked to stop.
bool TerminalPump::handleRequests()
{
    std::array<char, 64> requests;
    ssize_t got = 0;
    while ((got = readRetrying(m_wake[0], requests.data(), requests.size())) > 0) {
        for (ssize_t index = 0; index < got; ++index) {
            if (requests[std::size_t(index)] == kStop) {
                return true;
            }
            m_terminal.signalGroup(requests[std::size_t(index)]);
        }
    }
    return false;
}

TerminalPump::Drained TerminalPump::drain(Listener& listener)
{
    std::array<char, kReadSize> buffer;
    for (int turn = 0; turn < kReadsPerTurn; ++turn) {
        const std::optional<std::size_t> got = m_terminal.read(buffer);
        if (!got) {
            return Drained::NoWriterLeft;
        }
        if (*got == 0) {
            break;
        }
        listener.output(std::string_view(buffer.data(), *got));
    }
    return Drained::Open;
}

void TerminalPump::run(Listener& listener)
{
    bool writerLeft = true;
    bool ended = false;
    for (;;) {
        std::array<pollfd, 3> waits{{
            {writerLeft ? m_terminal.descriptor() : -1, POLLIN, 0},
            {m_wake[0], POLLIN, 0},
            {ended ? -1 : m_pidfd, POLLIN, 0},
        }};
        const int timeout = !ended && m_pidfd < 0 ? kReapIntervalMs : -1;
        if (::poll(waits.data(), waits.size(), timeout) < 0 && errno != EINTR) {
            return;
        }
        if (waits[1].revents != 0 && handleRequests()) {
            return;
        }
        if (writerLeft && waits[0].revents != 0) {
            writerLeft = drain(listener) == Drained::Open;
        }
        if (!ended) {
            if (const std::optional<int> status = m_terminal.reap()) {
                // What it wrote just before it ended comes before the news of its end: a read
                // of the terminal takes in whatever the kernel still had on its way.
                writerLeft = writerLeft && drain(listener) == Drained::Open;
                ended = true;
                if (!listener.ended(*status)) {
                    return;
                }
            }
        }
        if (ended && !writerLeft) {
            return;
        }
    }
}
