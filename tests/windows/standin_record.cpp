#include "standin_record.h"

#include "win32_api.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

std::wstring variable(const wchar_t* name)
{
    wchar_t value[32768] = {};
    return GetEnvironmentVariableW(name, value, 32768) != 0 ? value : L"";
}

std::wstring moduleName()
{
    std::wstring name(32768, L'\0');
    name.resize(GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size())));
    return name;
}

std::wstring workingDirectory()
{
    std::wstring directory(32768, L'\0');
    directory.resize(GetCurrentDirectoryW(static_cast<DWORD>(directory.size()), directory.data()));
    return directory;
}

std::wstring consoleTitle()
{
    std::wstring title(32768, L'\0');
    title.resize(GetConsoleTitleW(title.data(), static_cast<DWORD>(title.size())));
    return title;
}

// Sets the event the test made inheritable, if this process was handed it; it must not have been.
bool signalInheritedEvent()
{
    const std::wstring value = variable(L"TARNWICK_PROBE_HANDLE");
    if (value.empty()) {
        return false;
    }
    const auto handle = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(std::stoll(value)));
    return SetEvent(handle) != FALSE;
}

std::wstring showFlag()
{
    STARTUPINFOW startup{};
    GetStartupInfoW(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? std::to_wstring(startup.wShowWindow) : L"none";
}

// Every process attached to this console: the host's as well, when the stand-in runs in its console.
void addConsoleProcesses(RecordFields& fields)
{
    DWORD processes[64] = {};
    const DWORD count = GetConsoleProcessList(processes, 64);
    for (DWORD i = 0; i < count && i < 64; ++i) {
        fields.emplace_back("consoleProcess", std::to_wstring(processes[i]));
    }
}

// Wine makes a new console's window alongside the process, and under load it may come some time
// after the process starts: the stand-in waits for it a while, as Windows has it ready before.
HWND consoleWindow()
{
    DWORD attached = 0;
    const bool inConsole = GetConsoleProcessList(&attached, 1) > 0;
    HWND window = GetConsoleWindow();
    for (int tries = 0; inConsole && window == nullptr && tries < 100; ++tries) {
        Sleep(50);
        window = GetConsoleWindow();
    }
    return window;
}

RecordFields commonFields()
{
    RecordFields fields{{"module", moduleName()}, {"commandLine", GetCommandLineW()}};
    fields.emplace_back("pid", std::to_wstring(GetCurrentProcessId()));
    addConsoleProcesses(fields);
    int count = 0;
    LPWSTR* shell = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 0; i < count; ++i) {
        fields.emplace_back("shell", shell[i]);
    }
    LocalFree(shell);
    fields.emplace_back("cwd", workingDirectory());
    fields.emplace_back("console", consoleWindow() != nullptr ? L"1" : L"0");
    fields.emplace_back("title", consoleTitle());
    fields.emplace_back("show", showFlag());
    fields.emplace_back("inherited", signalInheritedEvent() ? L"1" : L"0");
    return fields;
}

// The last line marks a record read whole.
void writeFields(const std::filesystem::path& file, const RecordFields& fields)
{
    std::ofstream out(file, std::ios::binary);
    for (const auto& [key, value] : fields) {
        out << key << '=' << toUtf8Text(value) << '\n';
    }
    out << "end=\n";
}

} // namespace

std::string toUtf8Text(const std::wstring& wide)
{
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, text.data(), size, nullptr, nullptr);
    return text;
}

void recordStart(const RecordFields& own)
{
    const std::wstring directory = variable(L"TARNWICK_RECORD_DIR");
    if (directory.empty()) {
        return;
    }
    const std::wstring base = directory + L"\\" + std::to_wstring(GetCurrentProcessId());
    RecordFields fields = commonFields();
    fields.insert(fields.end(), own.begin(), own.end());
    writeFields(base + L".part", fields);
    MoveFileExW((base + L".part").c_str(), (base + L".record").c_str(), MOVEFILE_REPLACE_EXISTING);
    const std::wstring linger = variable(L"TARNWICK_LINGER_MS");
    if (!linger.empty()) {
        Sleep(static_cast<DWORD>(std::stoul(linger)));
        std::ofstream(std::filesystem::path(base + L".done"));
    }
}

int endAsAsked()
{
    std::printf("%s\n", kStandInMessage);
    std::fflush(stdout);
    const std::wstring file = variable(L"TARNWICK_STANDIN_WRITES");
    if (!file.empty()) {
        std::ofstream(std::filesystem::path(file), std::ios::binary) << kStandInOutput;
    }
    const std::wstring exit = variable(L"TARNWICK_STANDIN_EXIT");
    if (exit == L"crash") {
        // Ended by its own filter, not by Wine's debugger, which would wait for a click.
        SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
    return exit.empty() ? 0 : std::stoi(exit);
}
