#include "console_host.h"

#include "file_time.h"
#include "owned_kernel_handle.h"
#include "run_ending.h"
#include "run_report.h"
#include "shell_arguments.h"
#include "start_report.h"
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

std::uint64_t ticksOf(FILETIME time)
{
    return (std::uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// On the clock the file system dates files by.
std::chrono::system_clock::time_point now()
{
    FILETIME time{};
    GetSystemTimeAsFileTime(&time);
    return fromFileTime(ticksOf(time));
}

std::optional<FileStamp> stampOf(const std::optional<std::string>& file)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!file || !GetFileAttributesExW(toWide(*file).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    const std::uint64_t size = (std::uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return FileStamp{fromFileTime(ticksOf(data.ftLastWriteTime)), size};
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
bool report(std::optional<std::uintptr_t> handle, const StartReport& message)
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

// What the run will write, and that file's state just before the start.
RunReport watchFor(const HostRequest& request)
{
    RunOutputs outputs = RunOutputs::of(argumentsOf(request.commandLine), toUtf8(request.workingFolder));
    std::optional<FileStamp> before = stampOf(outputs.modeFile);
    return RunReport(std::move(outputs), std::move(before), now());
}

[[noreturn]] void stayOpen()
{
    for (;;) {
        Sleep(INFINITE);
    }
}

// Below the compiler's output, after a blank line; the console then stays until the user closes it.
[[noreturn]] void showEnding(const std::string& ending)
{
    startOwnLine();
    write(toWide(ending) + L"\r\n");
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

} // namespace

ConsoleHost::ConsoleHost(HostRequest request)
    : m_request(std::move(request))
{
}

int ConsoleHost::run()
{
    SetConsoleTitleW(m_request.title.c_str());
    SetConsoleCtrlHandler(outliveInterrupts, TRUE);
    const RunReport watch = watchFor(m_request);
    const auto started = std::chrono::steady_clock::now();
    PROCESS_INFORMATION process{};
    if (!startCompiler(process)) {
        const DWORD error = GetLastError();
        if (report(m_request.reportHandle, {StartReport::Outcome::ProgramFailed, error})) {
            return 1;
        }
        showFailure(error);
    }
    const OwnedKernelHandle compiler(process.hProcess);
    const OwnedKernelHandle thread(process.hThread);
    report(m_request.reportHandle, {StartReport::Outcome::Started, 0});
    WaitForSingleObject(compiler.get(), INFINITE);
    DWORD exitCode = 0;
    GetExitCodeProcess(compiler.get(), &exitCode);
    showEnding(watch.endingLine(runExitOf(exitCode), std::chrono::steady_clock::now() - started,
                                stampOf(watch.outputs().modeFile)));
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
    write(L"Could not start " + m_request.compiler + L": " + systemMessage(error) + L" (error " +
          std::to_wstring(error) + L").\r\n");
    askForAttention();
    stayOpen();
}
