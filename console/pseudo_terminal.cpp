#include "pseudo_terminal.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
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

constexpr unsigned short kColumns = 80;
constexpr unsigned short kRows = 25;

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

[[noreturn]] void failChild(int pipe, bool setUp)
{
    const ChildFailure failure{setUp ? 1 : 0, errno};
    [[maybe_unused]] const ssize_t written = ::write(pipe, &failure, sizeof failure);
    ::_exit(127);
}

// Runs in the forked child: only async-signal-safe calls from here to exec.
[[noreturn]] void becomeProgram(int slave, int failurePipe, char* const* argv, char* const* envp)
{
    if (::setsid() < 0 || ::ioctl(slave, TIOCSCTTY, 0) < 0) {
        failChild(failurePipe, true);
    }
    const int null = ::open("/dev/null", O_RDONLY);
    if (null < 0 || ::dup2(null, STDIN_FILENO) < 0 || ::dup2(slave, STDOUT_FILENO) < 0 ||
        ::dup2(slave, STDERR_FILENO) < 0) {
        failChild(failurePipe, true);
    }
    if (null > STDERR_FILENO) {
        ::close(null);
    }
    if (slave > STDERR_FILENO) {
        ::close(slave);
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

ssize_t readRetrying(int descriptor, void* buffer, std::size_t size)
{
    ssize_t got = 0;
    do {
        got = ::read(descriptor, buffer, size);
    } while (got < 0 && errno == EINTR);
    return got;
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

    int master = -1;
    int slave = -1;
    winsize size{kRows, kColumns, 0, 0};
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
        ::close(master);
        ::close(failurePipe[0]);
        becomeProgram(slave, failurePipe[1], argv.data(), envp.data());
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
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }
        throw pid < 0 ? StartError(forkError, true) : StartError(failure.error, failure.setUp != 0);
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
        pid_t got = 0;
        do {
            got = ::waitpid(m_pid, &status, WNOHANG);
        } while (got < 0 && errno == EINTR);
        if (got == m_pid) {
            m_status = status;
        }
    }
    return m_status;
}

void PseudoTerminal::hangUp()
{
    if (!reap() && m_pid > 0) {
        ::kill(-m_pid, SIGHUP);
    }
}
