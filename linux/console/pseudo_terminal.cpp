#include "pseudo_terminal.h"

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

std::vector<char*> pointersTo(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
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
    std::vector<std::string> argvStrings{program};
    argvStrings.insert(argvStrings.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envStrings = environmentForTerminal();
    const std::vector<char*> argv = pointersTo(argvStrings);
    const std::vector<char*> envp = pointersTo(envStrings);
    const int limit = descriptorLimit();

    int master = -1;
    int slave = -1;
    winsize size{kTerminalRows, kTerminalColumns, 0, 0};
    int failurePipe[2] = {-1, -1};
    if (::openpty(&master, &slave, nullptr, nullptr, &size) < 0) {
        throw StartError(errno, true);
    }
    if (::fcntl(master, F_SETFD, FD_CLOEXEC) < 0 || ::fcntl(master, F_SETFL, O_NONBLOCK) < 0 ||
        ::pipe2(failurePipe, O_CLOEXEC) < 0) {
        const int error = errno;
        ::close(master);
        ::close(slave);
        throw StartError(error, true);
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        becomeProgram(slave, failurePipe[1], limit, argv.data(), envp.data());
    }
    const int forkError = errno;
    ::close(slave);
    ::close(failurePipe[1]);
    ChildFailure failure{};
    const ssize_t got = pid < 0 ? 0 : readRetrying(failurePipe[0], &failure, sizeof failure);
    ::close(failurePipe[0]);
    if (pid < 0 || got > 0) {
        ::close(master);
        if (pid > 0) {
            waitpidRetrying(pid, nullptr, 0);
        }
        throw pid < 0 ? StartError(forkError, true) : StartError(failure.error, failure.setUp != 0);
    }
    return PseudoTerminal(master, pid);
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
    return PseudoTerminal(master, pid);
}

PseudoTerminal::PseudoTerminal(int master, pid_t pid)
    : m_master(master)
    , m_pid(pid)
{
}

PseudoTerminal::PseudoTerminal(PseudoTerminal&& other) noexcept
    : m_master(std::exchange(other.m_master, -1))
    , m_pid(std::exchange(other.m_pid, -1))
    , m_status(other.m_status)
{
}

PseudoTerminal::~PseudoTerminal()
{
    if (m_master >= 0) {
        ::close(m_master);
    }
}

bool PseudoTerminal::keepAcrossExec()
{
    return ::fcntl(m_master, F_SETFD, 0) == 0;
}

std::optional<std::size_t> PseudoTerminal::read(std::span<char> buffer)
{
    const ssize_t got = readRetrying(m_master, buffer.data(), buffer.size());
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
