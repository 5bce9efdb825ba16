#include "win32_launcher.h"

#include "ansi_command_line.h"
#include "argument_quoting.h"
#include "owned_kernel_handle.h"
#include "program_lookup.h"
#include "search_path.h"
#include "shell_arguments.h"
#include "sized_text.h"
#include "wide_text.h"

#include <algorithm>

namespace {

std::wstring environmentVariable(const wchar_t* name)
{
    return sizedText([&](wchar_t* buffer, DWORD size) { return GetEnvironmentVariableW(name, buffer, size); })
        .value_or(std::wstring());
}

std::wstring currentDirectory()
{
    return sizedText([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); })
        .value_or(std::wstring(L"."));
}

std::wstring fullPath(const std::wstring& path)
{
    return sizedText([&](wchar_t* buffer, DWORD size) {
               return GetFullPathNameW(path.c_str(), size, buffer, nullptr);
           })
        .value_or(path);
}

// Neither on a drive nor from a root: std::filesystem would say the same, at three times the
// program's size in a static build.
bool isRelative(const std::wstring& folder)
{
    const bool onDrive = folder.size() >= 2 && folder[1] == L':';
    const bool fromRoot = !folder.empty() && (folder[0] == L'\\' || folder[0] == L'/');
    return !onDrive && !fromRoot;
}

bool isFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The two parsers a compiler may use read a quoted argument alike unless it holds a quote or ends
// in a backslash, which would escape the closing quote.
bool survivesQuoting(const std::string& argument)
{
    return argument.find('"') == std::string::npos && (argument.empty() || argument.back() != '\\');
}

// Whether the shell's parser splits the line into exactly the program and these arguments.
bool readsBackAs(const std::wstring& line, const std::string& program,
                 const std::vector<std::string>& arguments)
{
    std::vector<std::wstring> expected{toWide(program)};
    std::transform(arguments.begin(), arguments.end(), std::back_inserter(expected),
                   [](const std::string& argument) { return toWide(argument); });
    return shellArguments(line) == expected;
}

// Nothing when the program's own path cannot be had whole: a relative host is never looked for.
std::optional<std::wstring> programFolder()
{
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    const std::size_t slash = path.find_last_of(L"\\/", length);
    if (length == 0 || length >= path.size() || slash == std::wstring::npos) {
        return std::nullopt;
    }
    return path.substr(0, slash + 1);
}

// The compiler in a console of its own, minimized, given the focus and titled with the shown line.
void startDirectly(const std::string& program, const std::wstring& path, std::wstring commandLine,
                   const std::string& title, const std::wstring& workingFolder)
{
    std::wstring consoleTitle = toWide(title);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    startup.lpTitle = consoleTitle.data();
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                        nullptr, workingFolder.c_str(), &startup, &started)) {
        throw LaunchError::notStarted(program);
    }
    // The compiler runs on its own; nothing here waits for it or keeps it.
    OwnedKernelHandle process(started.hProcess);
    OwnedKernelHandle thread(started.hThread);
}

} // namespace

Win32Launcher::Win32Launcher(ConsoleStart::Failed lateFailure)
    : Win32Launcher(currentDirectory(), consoleHostBesideProgram(), kHostPatience, std::move(lateFailure))
{
}

Win32Launcher::Win32Launcher(std::wstring startFolder, std::wstring consoleHost,
                             std::chrono::milliseconds hostPatience, ConsoleStart::Failed lateFailure)
    : m_startFolder(fullPath(startFolder))
    , m_consoleHost(std::move(consoleHost))
    , m_consoleStart(hostPatience, std::move(lateFailure))
{
}

std::wstring Win32Launcher::consoleHostBesideProgram()
{
    const std::optional<std::wstring> folder = programFolder();
    const std::wstring host = folder ? *folder + L"tarnwick-console.exe" : std::wstring();
    return isFile(host) ? host : std::wstring();
}

std::optional<std::wstring> Win32Launcher::findProgram(const std::wstring& name) const
{
    if (name.empty() || name.find_first_of(L"\\/:") != std::wstring::npos) {
        return std::nullopt;
    }
    // A relative entry is taken from the start folder, like everything else here.
    const auto join = [this](const std::wstring& folder, const std::wstring& file) {
        return (isRelative(folder) ? m_startFolder + L'\\' + folder : folder) + L'\\' + file;
    };
    const std::optional<std::wstring> found =
        lookUpProgram(m_startFolder, splitSearchPath(environmentVariable(L"PATH")),
                      std::vector{name + L".exe"}, join, isFile);
    return found ? std::optional(fullPath(*found)) : std::nullopt;
}

std::string Win32Launcher::launchableName(const std::string& argument) const
{
    const std::wstring wide = toWide(argument);
    if (survivesAnsiCodePage(wide)) {
        return argument;
    }
    if (const std::optional<std::wstring> name = survivingNameOf(wide)) {
        return toUtf8(*name);
    }
    throw UnnameableFileError("no name of this file reaches the compiler intact: " + argument);
}

std::wstring Win32Launcher::commandLineFor(const std::string& program,
                                           const std::vector<std::string>& arguments,
                                           const std::string& shown)
{
    std::wstring line = toWide(shown);
    if (std::all_of(arguments.begin(), arguments.end(), survivesQuoting) &&
        readsBackAs(line, program, arguments)) {
        return line;
    }
    line = quotedArgument(toWide(program));
    for (const std::string& argument : arguments) {
        line.append(L" ").append(quotedArgument(toWide(argument)));
    }
    return line;
}

void Win32Launcher::launch(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& title)
{
    const std::optional<std::wstring> path = findProgram(toWide(program));
    if (!path) {
        throw LaunchError::notFound(program);
    }
    std::wstring commandLine = commandLineFor(program, arguments, title);
    if (!survivesAnsiCodePage(commandLine)) {
        throw UnnameableFileError("the compiler would read another command line: " + title);
    }
    // The compiler may build paths from its working directory, which it too reads in ANSI.
    const std::wstring workingFolder = survivingFolder(m_startFolder).value_or(m_startFolder);
    const auto direct = [program, path = *path, commandLine, title, workingFolder] {
        startDirectly(program, path, commandLine, title, workingFolder);
    };
    if (!isFile(m_consoleHost) ||
        !m_consoleStart.start(m_consoleHost, {std::nullopt, workingFolder, *path, commandLine}, toWide(title),
                              direct)) {
        direct();
    }
}
