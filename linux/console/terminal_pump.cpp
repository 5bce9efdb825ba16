#include "terminal_pump.h"

#include "retrying_calls.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <system_error>
#include <unistd.h>

namespace {

// A pseudo-terminal hands out at most one line discipline buffer (4 KiB) per read.
constexpr std::size_t kReadSize = 16 * 1024;
// Reads before the loop looks at requests again, so a flood cannot hold off a stop.
constexpr int kReadsPerTurn = 64;
constexpr char kStop = 0;

std::array<OwnedDescriptor, 2> openWakePipe()
{
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) < 0) {
        throw std::system_error(errno, std::generic_category(), "no pipe for the terminal pump");
    }
    return {OwnedDescriptor(ends[0]), OwnedDescriptor(ends[1])};
}

} // namespace

TerminalPump::TerminalPump(PseudoTerminal& terminal)
    : m_terminal(terminal)
    , m_wake(openWakePipe())
    , m_watch(terminal.pid())
{
}

void TerminalPump::stop()
{
    [[maybe_unused]] const ssize_t written = writeRetrying(m_wake[1].get(), &kStop, 1);
}

void TerminalPump::sendSignal(int signal)
{
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = writeRetrying(m_wake[1].get(), &number, 1);
}

// True when asked to stop.
bool TerminalPump::handleRequests()
{
    std::array<char, 64> requests;
    ssize_t got = 0;
    while ((got = readRetrying(m_wake[0].get(), requests.data(), requests.size())) > 0) {
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
    using Clock = std::chrono::steady_clock;
    bool writerLeft = true;
    bool ended = false;
    Clock::time_point readUntil = Clock::time_point::max();
    for (;;) {
        std::array<pollfd, 3> waits{{
            {writerLeft ? m_terminal.descriptor() : -1, POLLIN, 0},
            {m_wake[0].get(), POLLIN, 0},
            {ended ? -1 : m_watch.descriptor(), POLLIN, 0},
        }};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(readUntil - Clock::now());
        const int timeout = !ended ? m_watch.pollTimeoutMs()
                            : readUntil == Clock::time_point::max()
                                ? -1
                                : int(std::clamp<long long>(left.count(), 0, 60'000));
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
                const std::chrono::milliseconds readOn = listener.ended(*status);
                if (readOn != kUntilNoWriter) {
                    readUntil = Clock::now() + readOn;
                }
            }
        }
        if (ended && (!writerLeft || Clock::now() >= readUntil)) {
            return;
        }
    }
}
