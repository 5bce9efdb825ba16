// A stand-in for the compiler: writes down what it was started with, as both command-line parsers
// a compiler may use read it, then lingers as long as asked. Nothing when TARNWICK_RECORD_DIR is unset.
#include "wide_text.h"
#include "win32_api.h"

#include <filesystem>
#include <fstream>
#include <string>

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

void writeField(std::ofstream& out, const std::string& key, const std::wstring& value)
{
    out << key << '=' << toUtf8(value) << '\n';
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

void record(const std::wstring& directory, int argc, wchar_t** argv)
{
    const std::wstring base = directory + L"\\" + std::to_wstring(GetCurrentProcessId());
    {
        std::ofstream out(std::filesystem::path(base + L".part"), std::ios::binary);
        writeField(out, "module", moduleName());
        writeField(out, "commandLine", GetCommandLineW());
        int count = 0;
        LPWSTR* shell = CommandLineToArgvW(GetCommandLineW(), &count);
        for (int i = 0; i < count; ++i) {
            writeField(out, "shell", shell[i]);
        }
        LocalFree(shell);
        for (int i = 0; i < argc; ++i) {
            writeField(out, "crt", argv[i]);
        }
        writeField(out, "cwd", workingDirectory());
        writeField(out, "console", GetConsoleWindow() != nullptr ? L"1" : L"0");
        STARTUPINFOW startup{};
        GetStartupInfoW(&startup);
        writeField(out, "show",
                   (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? std::to_wstring(startup.wShowWindow)
                                                                 : L"none");
        writeField(out, "inherited", signalInheritedEvent() ? L"1" : L"0");
    }
    MoveFileExW((base + L".part").c_str(), (base + L".record").c_str(), MOVEFILE_REPLACE_EXISTING);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring directory = variable(L"TARNWICK_RECORD_DIR");
    if (directory.empty()) {
        return 0;
    }
    record(directory, argc, argv);
    const std::wstring linger = variable(L"TARNWICK_LINGER_MS");
    if (!linger.empty()) {
        Sleep(static_cast<DWORD>(std::stoul(linger)));
        std::ofstream(
            std::filesystem::path(directory + L"\\" + std::to_wstring(GetCurrentProcessId()) + L".done"));
    }
    return 0;
}
