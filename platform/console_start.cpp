#include "console_start.h"

#include "launch_report.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <variant>

extern char** environ;

namespace {

struct Silence {};
struct Closed {};
using Answer = std::variant<LaunchReport, Silence, Closed>;

class Descriptor {
public:
    explicit Descriptor(int descriptor)
        : m_descriptor(descriptor)
    {
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { close(); }
    int get() const { return m_descriptor; }
    void close()
    {
        if (m_descriptor >= 0) {
            ::close(m_descriptor);
            m_descriptor = -1;
        }
    }

private:
    int m_descriptor;
};

// Forks twice, so that the host is nobody's child here and leaves no zombie; the middle process
// ends at once and is reaped before this returns. Between fork and exec only async-signal-safe
// calls are made. False when no process could be made.
bool spawnDetached(const std::string& host, std::vector<std::string>& arguments, int reportSocket)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(host.c_str()));
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    const pid_t middle = ::fork();
    if (middle == 0) {
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            const int moved = reportSocket == ConsoleStart::kReportDescriptor
                                  ? ::fcntl(reportSocket, F_SETFD, 0)
                                  : ::dup2(reportSocket, ConsoleStart::kReportDescriptor);
            if (moved >= 0) {
                ::setsid();
                ::execve(argv[0], argv.data(), environ);
            }
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    if (middle < 0) {
        return false;
    }
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Answer awaitReport(int socket, std::chrono::milliseconds patience)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + patience;
    std::string line;
    while (!line.ends_with('\n')) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd waiting{socket, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, int(std::max<long long>(left.count(), 0)));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            return Silence{};
        }
        char buffer[64];
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return Closed{};
        }
        line.append(buffer, std::size_t(got));
    }
    if (const std::optional<LaunchReport> report = LaunchReport::decode(line)) {
        return *report;
    }
    return Closed{};
}

ConsoleStart::Result resultOf(const Answer& answer, int socket)
{
    if (std::holds_alternative<Silence>(answer)) {
        return ConsoleStart::Result::Started;
    }
    if (std::holds_alternative<Closed>(answer)) {
        return ConsoleStart::Result::HostUnavailable;
    }
    switch (std::get<LaunchReport>(answer).outcome) {
    case LaunchReport::Outcome::Started:
        return ConsoleStart::Result::Started;
    case LaunchReport::Outcome::ProgramFailed:
        // The user hears of it here, so the host need not show a window for it.
        ::send(socket, &kReportAcknowledged, 1, MSG_NOSIGNAL);
        return ConsoleStart::Result::ProgramFailed;
    case LaunchReport::Outcome::HostUnavailable:
        break;
    }
    return ConsoleStart::Result::HostUnavailable;
}

} // namespace

ConsoleStart::Result ConsoleStart::run(const std::string& host, ConsoleRequest request,
                                       std::chrono::milliseconds patience)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) < 0) {
        return Result::HostUnavailable;
    }
    Descriptor ours(ends[0]);
    Descriptor hosts(ends[1]);
    request.reportDescriptor = kReportDescriptor;
    std::vector<std::string> arguments = request.toArguments();
    if (!spawnDetached(host, arguments, hosts.get())) {
        return Result::HostUnavailable;
    }
    hosts.close();
    return resultOf(awaitReport(ours.get(), patience), ours.get());
}
