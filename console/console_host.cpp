#include "console_host.h"

#include "compiler_run.h"
#include "console_window.h"
#include "launch_report.h"
#include "pseudo_terminal.h"
#include "run_ending.h"

#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How long the host waits for the front end to say it has read a failure report.
constexpr int kAcknowledgementTimeoutMs = 10000;

// Sends the report; true when the front end read it and said so (only failures are acknowledged).
bool sendReport(std::optional<int> socket, const LaunchReport& report)
{
    if (!socket) {
        return false;
    }
    const std::string line = report.encode();
    if (::send(*socket, line.data(), line.size(), MSG_NOSIGNAL) != ssize_t(line.size()) ||
        report.outcome != LaunchReport::Outcome::ProgramFailed) {
        return false;
    }
    pollfd waiting{*socket, POLLIN, 0};
    char answer = 0;
    return ::poll(&waiting, 1, kAcknowledgementTimeoutMs) == 1 && ::recv(*socket, &answer, 1, 0) == 1 &&
           answer == kReportAcknowledged;
}

void closeReport(std::optional<int> socket)
{
    if (socket) {
        ::close(*socket);
    }
}

// Qt gives up on a program whose display it cannot reach; the host falls back to no window instead,
// so that a run is never lost for want of a display.
void allowRunningWithoutDisplay()
{
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty()) {
        const bool wayland =
            qgetenv("XDG_SESSION_TYPE") == "wayland" && qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
        platforms = wayland ? "wayland;xcb" : "xcb";
    }
    qputenv("QT_QPA_PLATFORM", platforms + ";offscreen");
}

void nameApplication()
{
    QApplication::setApplicationName(QStringLiteral("tarnwick"));
    QApplication::setDesktopFileName(QStringLiteral("org.tarnwick.Tarnwick"));
}

bool hasDisplay()
{
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}

void writeOut(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return; // nobody is listening; the run goes on all the same
        }
        bytes.remove_prefix(std::size_t(written));
    }
}

// With no window to show them in, output and ending go where the host's own output goes.
int relayWithoutWindow(CompilerRun& run)
{
    QObject::connect(&run, &CompilerRun::output,
                     [](std::string_view bytes) { writeOut(STDOUT_FILENO, bytes); });
    QObject::connect(&run, &CompilerRun::ended, [](int status) {
        std::string ending = describeRunEnding(status);
        ending.insert(ending.begin(), '\n');
        ending.push_back('\n');
        writeOut(STDOUT_FILENO, ending);
        QCoreApplication::quit();
    });
    return QApplication::exec();
}

void showStartingMinimized(ConsoleWindow& window)
{
    window.setWindowState(Qt::WindowMinimized);
    window.show();
}

int showRun(CompilerRun& run, const QString& title)
{
    ConsoleWindow window(title);
    QObject::connect(&run, &CompilerRun::output, &window, &ConsoleWindow::addOutput);
    QObject::connect(&run, &CompilerRun::ended, &window, [&window](int status) {
        window.addLine(QString::fromStdString(describeRunEnding(status)));
    });
    QObject::connect(&window, &ConsoleWindow::closing, &run, &CompilerRun::hangUp);
    showStartingMinimized(window);
    return QApplication::exec();
}

// Shown when the front end stopped waiting before the failure could be reported to it.
int showStartFailure(const ConsoleRequest& request, int error, char* programName)
{
    const std::string text = "Could not start " + request.program + ": " + std::strerror(error) + ".";
    allowRunningWithoutDisplay();
    int qtArgc = 1;
    QApplication app(qtArgc, &programName);
    nameApplication();
    if (!hasDisplay()) {
        std::fprintf(stderr, "tarnwick-console: %s\n", text.c_str());
        return 1;
    }
    ConsoleWindow window(QString::fromStdString(request.title));
    window.addLine(QString::fromStdString(text));
    window.show();
    QApplication::exec();
    return 1;
}

} // namespace

int runConsoleHost(const ConsoleRequest& request, char* programName)
{
    if (request.reportDescriptor && ::fcntl(*request.reportDescriptor, F_SETFD, FD_CLOEXEC) < 0) {
        std::fprintf(stderr, "tarnwick-console: no report socket %d\n", *request.reportDescriptor);
        return 2;
    }
    std::optional<PseudoTerminal> terminal;
    try {
        terminal.emplace(PseudoTerminal::start(request.program, request.arguments));
    } catch (const PseudoTerminal::StartError& error) {
        using Outcome = LaunchReport::Outcome;
        const Outcome outcome = error.inSetUp() ? Outcome::HostUnavailable : Outcome::ProgramFailed;
        const bool heard = sendReport(request.reportDescriptor, {outcome, error.code().value()});
        closeReport(request.reportDescriptor);
        if (heard || error.inSetUp()) {
            if (!request.reportDescriptor) {
                std::fprintf(stderr, "tarnwick-console: %s\n", error.what());
            }
            return 1;
        }
        return showStartFailure(request, error.code().value(), programName);
    }
    sendReport(request.reportDescriptor, {LaunchReport::Outcome::Started, 0});
    closeReport(request.reportDescriptor);

    allowRunningWithoutDisplay();
    // Qt sees only the host's name: the title and arguments are never read as Qt options.
    int qtArgc = 1;
    QApplication app(qtArgc, &programName);
    nameApplication();
    CompilerRun run(std::move(*terminal));
    return hasDisplay() ? showRun(run, QString::fromStdString(request.title)) : relayWithoutWindow(run);
}
