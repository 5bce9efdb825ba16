#include "console_host.h"

#include "owned_kernel_handle.h"
#include "run_ending.h"
#include "run_watch.h"
#include "shell_arguments.h"
#include "start_report.h"
#include "system_file_access.h"
#include "wide_text.h"

#include <utility>

namespace {

// Ctrl+C and Ctrl+Break stop the compiler, which shares this console, and leave the host to say how
// the run ended; closing the console ends the host as it ends every console program. A routine of
// our own, unlike the ignoring form, is not inherited by the compiler.
BOOL WINAPI outliveInterrupts(DWORD event)
{
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

void write(std::wstring_view text)
{
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD written = 0;
    if (!WriteConsoleW(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        // Not a console but a file or a pipe: UTF-8 there.
        const std::string bytes = toUtf8(text);
        WriteFile(output, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
}

// A blank line before what the host says, after output that may not have ended its line.
void startOwnLine()
{
    CONSOLE_SCREEN_BUFFER_INFO screen{};
    const bool midLine = GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &screen) &&
                         screen.dwCursorPosition.X != 0;
    write(midLine ? L"\r\n\r\n" : L"\r\n");
}

// The compiler's arguments as it reads them; the ANSI check before the start made sure its C
// runtime splits its line as CommandLineToArgvW does.
std::vector<std::string> argumentsOf(const std::wstring& commandLine)
{
    const std::vector<std::wstring> split = shellArguments(commandLine);
    std::vector<std::string> arguments;
    for (std::size_t index = 1; index < split.size(); ++index) {
        arguments.push_back(toUtf8(split[index]));
    }
    return arguments;
}

// Says on the report pipe whether the compiler started; true when a failure was read and
// acknowledged. A front end that stopped waiting has closed its end, which ends the read at once.
bool sendReport(std::optional<std::uintptr_t> handle, const StartReport& message)
{
    if (!handle) {
        return false;
    }
    const OwnedKernelHandle pipe(reinterpret_cast<HANDLE>(*handle));
    const std::string line = message.encode();
    DWORD done = 0;
    if (!WriteFile(pipe.get(), line.data(), static_cast<DWORD>(line.size()), &done, nullptr) ||
        message.outcome == StartReport::Outcome::Started) {
        return false;
    }
    char answer = 0;
    return ReadFile(pipe.get(), &answer, 1, &done, nullptr) && done == 1 && answer == kReportAcknowledged;
}

// A console that is minimized or behind another window flashes its task-bar button until it is
// brought up. A minimized console may still hold the focus it was started with, unseen.
void askForAttention()
{
    const HWND console = GetConsoleWindow();
    if (console != nullptr && (IsIconic(console) || GetForegroundWindow() != console)) {
        FLASHWINFO flash{sizeof(flash), console, FLASHW_TRAY | FLASHW_TIMERNOFG, 0, 0};
        FlashWindowEx(&flash);
    }
}

[[noreturn]] void stayOpen()
{
    for (;;) {
        Sleep(INFINITE);
    }
}

// Below the compiler's output, after a blank line, in bright text of the ending's colour, so that it
// stands out from the compiler's many lines; the console then stays until the user closes it.
[[noreturn]] void showEnding(const RunEnding& ending)
{
    startOwnLine();
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    CONSOLE_SCREEN_BUFFER_INFO screen{};
    const bool coloured = GetConsoleScreenBufferInfo(output, &screen) &&
                          SetConsoleTextAttribute(output, endingAttributes(screen.wAttributes, ending.tone));
    write(toWide(ending.line));
    if (coloured) {
        SetConsoleTextAttribute(output, screen.wAttributes);
    }
    write(L"\r\n");
    askForAttention();
    stayOpen();
}

std::wstring systemMessage(DWORD error)
{
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = text != nullptr ? text : L"unknown error";
    LocalFree(text);
    message.erase(message.find_last_not_of(L" .\r\n") + 1);
    return message;
}

// The host stays open as long as its console, and Windows renames, deletes or ejects no folder that
// a running process has as its current one: the host keeps the system folder; the compiler runs in
// its own working folder all the same.
void letGoOfFolder()
{
    wchar_t system[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH) {
        SetCurrentDirectoryW(system);
    }
}

} // namespace

ConsoleHost::ConsoleHost(HostRequest request)
    : m_request(std::move(request))
{
}

int ConsoleHost::run()
{
    letGoOfFolder();
    SetConsoleCtrlHandler(outliveInterrupts, TRUE);
    const SystemFileAccess files;
    const RunWatch watch =
        RunWatch::begin(files, argumentsOf(m_request.commandLine), toUtf8(m_request.workingFolder));
    PROCESS_INFORMATION process{};
    if (!startCompiler(process)) {
        const DWORD error = GetLastError();
        if (sendReport(m_request.reportHandle, {StartReport::Outcome::ProgramFailed, error})) {
            return 1;
        }
        showFailure(error);
    }
    const OwnedKernelHandle compiler(process.hProcess);
    const OwnedKernelHandle thread(process.hThread);
    sendReport(m_request.reportHandle, {StartReport::Outcome::Started, 0});
    WaitForSingleObject(compiler.get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(compiler.get(), &exitCode);
    showEnding(watch.end(files, runExitOf(exitCode)));
}

// In this console, with no handle of the host's: the report pipe is for the host alone.
bool ConsoleHost::startCompiler(PROCESS_INFORMATION& process) const
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring commandLine = m_request.commandLine;
    return CreateProcessW(m_request.compiler.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          m_request.workingFolder.c_str(), &startup, &process) != FALSE;
}

void ConsoleHost::showFailure(unsigned long error) const
{
    // Windows' reasons are in the system's language: the number is what a search finds.
    const std::string reason = toUtf8(systemMessage(error)) + " (error " + std::to_string(error) + ")";
    write(toWide(describeStartFailure(toUtf8(m_request.compiler), reason)) + L"\r\n");
    askForAttention();
    stayOpen();
}
