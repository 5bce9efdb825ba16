#include "pseudo_terminal.h"

#include "argument_vector.h"
#include "retrying_calls.h"
#include "terminal_size.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace {

// What the child tells its parent through a close-on-exec pipe when it cannot get to exec.
struct ChildFailure {
    int setUp;
    int error;
};

// The descriptor the child keeps its failure pipe on: the first past the standard streams.
constexpr int kFailureDescriptor = 3;

std::vector<std::string> environmentForTerminal()
{
    std::vector<std::string> entries;
    for (char** entry = environ; entry && *entry; ++entry) {
        if (std::strncmp(*entry, "TERM=", 5) != 0) {
            entries.emplace_back(*entry);
        }
    }
    entries.emplace_back("TERM=dumb");
    return entries;
}

// The highest descriptor number a process may hold, for closing them all where close_range is
// missing; read before fork, since getrlimit is not async-signal-safe.
int descriptorLimit()
{
    rlimit limit{};
    return ::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY ? int(limit.rlim_cur)
                                                                                      : 65536;
}

[[noreturn]] void failChild(int pipe, bool setUp)
{
    const ChildFailure failure{setUp ? 1 : 0, errno};
    [[maybe_unused]] const ssize_t written = ::write(pipe, &failure, sizeof failure);
    ::_exit(127);
}

// Leaves the program the standard streams only, with the failure pipe kept until the exec.
bool closeOtherDescriptors(int& failurePipe, int limit)
{
    if (failurePipe != kFailureDescriptor) {
        if (::dup3(failurePipe, kFailureDescriptor, O_CLOEXEC) < 0) {
            return false;
        }
        failurePipe = kFailureDescriptor;
    }
    if (::close_range(kFailureDescriptor + 1, ~0U, 0) < 0) {
        for (int descriptor = kFailureDescriptor + 1; descriptor < limit; ++descriptor) {
            ::close(descriptor);
        }
    }
    return true;
}

// Runs in the forked child: only async-signal-safe calls from here to exec.
[[noreturn]] void becomeProgram(int slave, int failurePipe, int limit, char* const* argv, char* const* envp)
{
    if (::setsid() < 0 || ::ioctl(slave, TIOCSCTTY, 0) < 0) {
        failChild(failurePipe, true);
    }
    const int null = ::open("/dev/null", O_RDONLY);
    if (null < 0 || ::dup2(null, STDIN_FILENO) < 0 || ::dup2(slave, STDOUT_FILENO) < 0 ||
        ::dup2(slave, STDERR_FILENO) < 0 || !closeOtherDescriptors(failurePipe, limit)) {
        failChild(failurePipe, true);
    }
    // A program expects the signal dispositions and mask a shell would give it.
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int number = 1; number < NSIG; ++number) {
        ::signal(number, SIG_DFL);
    }
    ::execve(argv[0], argv, envp);
    failChild(failurePipe, false);
}

} // namespace

PseudoTerminal::StartError::StartError(int error, bool setUp)
    : std::system_error(error, std::generic_category(),
                        setUp ? "no terminal for the program" : "cannot execute")
    , m_setUp(setUp)
{
}

PseudoTerminal PseudoTerminal::start(const std::string& program, const std::vector<std::string>& arguments)
{
    const ArgumentVector argv(program, arguments);
    const ArgumentVector envp(environmentForTerminal());
    const int limit = descriptorLimit();

    int masterEnd = -1;
    int slaveEnd = -1;
    winsize size{kTerminalRows, kTerminalColumns, 0, 0};
    if (::openpty(&masterEnd, &slaveEnd, nullptr, nullptr, &size) < 0) {
        throw StartError(errno, true);
    }
    OwnedDescriptor master(masterEnd);
    OwnedDescriptor slave(slaveEnd);
    int failureEnds[2] = {-1, -1};
    if (::fcntl(master.get(), F_SETFD, FD_CLOEXEC) < 0 || ::fcntl(master.get(), F_SETFL, O_NONBLOCK) < 0 ||
        ::pipe2(failureEnds, O_CLOEXEC) < 0) {
        throw StartError(errno, true);
    }
    OwnedDescriptor failureReader(failureEnds[0]);
    OwnedDescriptor failureWriter(failureEnds[1]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        becomeProgram(slave.get(), failureWriter.get(), limit, argv.data(), envp.data());
    }
    const int forkError = errno;
    slave.reset();
    failureWriter.reset();
    ChildFailure failure{};
    const ssize_t got = pid < 0 ? 0 : readRetrying(failureReader.get(), &failure, sizeof failure);
    failureReader.reset();
    if (pid < 0 || got > 0) {
        master.reset();
        if (pid > 0) {
            waitpidRetrying(pid, nullptr, 0);
        }
        throw pid < 0 ? StartError(forkError, true) : StartError(failure.error, failure.setUp != 0);
    }
    return PseudoTerminal(std::move(master), pid);
}

std::optional<PseudoTerminal> PseudoTerminal::adopt(int master, pid_t pid)
{
    // Asks whether the child is there without reaping it, should it have ended already.
    siginfo_t child{};
    if (master < 0 || pid <= 0 || ::fcntl(master, F_SETFD, FD_CLOEXEC) < 0 ||
        ::fcntl(master, F_SETFL, O_NONBLOCK) < 0 ||
        ::waitid(P_PID, id_t(pid), &child, WEXITED | WNOHANG | WNOWAIT) < 0) {
        return std::nullopt;
    }
    return PseudoTerminal(OwnedDescriptor(master), pid);
}

PseudoTerminal::PseudoTerminal(OwnedDescriptor master, pid_t pid)
    : m_master(std::move(master))
    , m_pid(pid)
{
}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : m_master(std::move(other.m_master))
    , m_pid(std::exchange(other.m_pid, -1))
    , m_status(other.m_status)
{
}

bool PseudoTerminal::keepAcrossExec()
{
    return ::fcntl(m_master.get(), F_SETFD, 0) == 0;
}

std::optional<std::size_t> PseudoTerminal::read(std::span<char> buffer)
{
    const ssize_t got = readRetrying(m_master.get(), buffer.data(), buffer.size());
    if (got > 0) {
        return std::size_t(got);
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
        return 0;
    }
    return std::nullopt; // EIO: the last writer closed its side
}

std::optional<int> PseudoTerminal::reap()
{
    if (!m_status && m_pid > 0) {
        int status = 0;
        if (waitpidRetrying(m_pid, &status, WNOHANG) == m_pid) {
            m_status = status;
        }
    }
    return m_status;
}

void PseudoTerminal::signalGroup(int signal)
{
    if (!reap() && m_pid > 0) {
        ::kill(-m_pid, signal);
    }
}
