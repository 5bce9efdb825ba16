#include "console_starter.h"

#include "argument_vector.h"
#include "display_environment.h"
#include "owned_descriptor.h"
#include "pseudo_terminal.h"
#include "start_report.h"
#include "system_file_access.h"
#include "terminal_relay.h"
#include "window_stage_request.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

// How long the starter waits for the front end to say it has read a failure report. A front end
// that stopped listening has closed its end, which ends the wait at once.
constexpr int kAcknowledgementTimeoutMs = 10000;

// Sends the report and closes the socket; true when the front end read a failure and said so.
bool sendReport(OwnedDescriptor socket, const StartReport& report)
{
    if (socket.get() < 0) {
        return false;
    }
    const std::string line = report.encode();
    if (::send(socket.get(), line.data(), line.size(), MSG_NOSIGNAL) != ssize_t(line.size()) ||
        report.outcome == StartReport::Outcome::Started) {
        return false;
    }
    pollfd waiting{socket.get(), POLLIN, 0};
    char answer = 0;
    return ::poll(&waiting, 1, kAcknowledgementTimeoutMs) == 1 && ::recv(socket.get(), &answer, 1, 0) == 1 &&
           answer == kReportAcknowledged;
}

// Without a display named for its window, the host does without the window stage and its
// toolkit: a run is never lost for want of one.
void becomeWindowStage(const std::string& windowStage, const WindowStageRequest& request)
{
    if (DisplayEnvironment::current().namesDisplay()) {
        const ArgumentVector argv(windowStage, request.toArguments());
        ::execv(argv[0], argv.data());
    }
}

int showFailure(const std::string& windowStage, const HostRequest& request,
                const PseudoTerminal::StartError& error)
{
    const std::string message =
        describeStartFailure(request.program, std::strerror(error.code().value()), error.inSetUp());
    becomeWindowStage(windowStage,
                      {WindowStageRequest::Kind::Failure, -1, -1, request.title, message, std::nullopt});
    std::fprintf(stderr, "tarnwick-console: %s\n", message.c_str());
    return 1;
}

int showRun(const std::string& windowStage, const HostRequest& request, PseudoTerminal& terminal,
            const RunWatch& watch)
{
    if (terminal.keepAcrossExec()) {
        becomeWindowStage(
            windowStage,
            {WindowStageRequest::Kind::Run, terminal.descriptor(), terminal.pid(), request.title, {}, watch});
    }
    // No window to be had: the run goes on all the same, its output where this process's goes.
    return relayToOutput(terminal, watch, STDOUT_FILENO);
}

std::string currentFolder()
{
    const std::unique_ptr<char, decltype(&std::free)> folder(::getcwd(nullptr, 0), &std::free);
    return folder ? std::string(folder.get()) : std::string(".");
}

} // namespace

int runConsoleStarter(const HostRequest& request, const std::string& windowStage)
{
    if (request.reportDescriptor && ::fcntl(*request.reportDescriptor, F_SETFD, FD_CLOEXEC) < 0) {
        std::fprintf(stderr, "tarnwick-console: no report socket %d\n", *request.reportDescriptor);
        return 2;
    }
    OwnedDescriptor report(request.reportDescriptor.value_or(-1));
    std::optional<PseudoTerminal> terminal;
    const RunWatch watch = RunWatch::begin(SystemFileAccess(), request.arguments, currentFolder());
    try {
        terminal.emplace(PseudoTerminal::start(request.program, request.arguments));
    } catch (const PseudoTerminal::StartError& error) {
        using Outcome = StartReport::Outcome;
        const Outcome outcome = error.inSetUp() ? Outcome::HostUnavailable : Outcome::ProgramFailed;
        const bool heard = sendReport(std::move(report), {outcome, std::uint32_t(error.code().value())});
        return heard ? 1 : showFailure(windowStage, request, error);
    }
    sendReport(std::move(report), {StartReport::Outcome::Started, 0});
    return showRun(windowStage, request, *terminal, watch);
}

std::string windowStageBeside(const std::string& starter)
{
    const std::size_t slash = starter.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : starter.substr(0, slash);
    return folder + "/tarnwick-console-window";
}
