#include "console_start.h"

#include "argument_vector.h"
#include "child_reaper.h"
#include "owned_descriptor.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <unistd.h>

extern char** environ;

namespace {

// The host gets the report socket as its descriptor 3 and nothing else past the standard streams,
// a session of its own, and no blocked signal.
std::optional<pid_t> spawnHost(const std::string& host, const std::vector<std::string>& arguments,
                               int reportSocket)
{
    const ArgumentVector argv(host, arguments);
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    // A descriptor duplicated onto itself loses its close-on-exec flag, as with dup2 elsewhere.
    posix_spawn_file_actions_adddup2(&actions, reportSocket, kConsoleReportDescriptor);
    posix_spawn_file_actions_addclosefrom_np(&actions, kConsoleReportDescriptor + 1);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    const int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? std::optional<pid_t>(pid) : std::nullopt;
}

HostAnswer awaitReport(int socket, std::chrono::milliseconds patience)
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
            return HostSilence{};
        }
        char buffer[64];
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0) {
            return HostClosed{};
        }
        line.append(buffer, std::size_t(got));
    }
    return line;
}

} // namespace

ConsoleStartResult startInConsole(const std::string& host, HostRequest request,
                                  std::chrono::milliseconds patience)
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) < 0) {
        return ConsoleStartResult::HostUnavailable;
    }
    const OwnedDescriptor ours(ends[0]);
    OwnedDescriptor hosts(ends[1]);
    request.reportDescriptor = kConsoleReportDescriptor;
    const std::optional<pid_t> pid = spawnHost(host, request.toArguments(), hosts.get());
    if (!pid) {
        return ConsoleStartResult::HostUnavailable;
    }
    hosts.reset();
    const ConsoleStartResult result = startResultOf(awaitReport(ours.get(), patience), [&ours] {
        ::send(ours.get(), &kReportAcknowledged, 1, MSG_NOSIGNAL);
    });
    ChildReaper::reapWhenEnded(*pid);
    return result;
}
