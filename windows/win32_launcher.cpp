#include "win32_launcher.h"

#include "ansi_command_line.h"
#include "owned_handle.h"
#include "program_lookup.h"
#include "search_path.h"
#include "sized_text.h"
#include "wide_text.h"
#include "win32_api.h"

#include <algorithm>

namespace {

using OwnedKernelHandle = OwnedHandle<HANDLE, &CloseHandle>;

void freeArgumentList(LPWSTR* list)
{
    LocalFree(list);
}
using OwnedArgumentList = OwnedHandle<LPWSTR*, &freeArgumentList>;

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
    int count = 0;
    const OwnedArgumentList parsed(CommandLineToArgvW(line.c_str(), &count));
    if (!parsed || static_cast<std::size_t>(count) != arguments.size() + 1 ||
        parsed.get()[0] != toWide(program)) {
        return false;
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (parsed.get()[i + 1] != toWide(arguments[i])) {
            return false;
        }
    }
    return true;
}

// Quotes one argument so that CommandLineToArgvW and the C runtime both read it back whole.
std::wstring quoted(const std::wstring& argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        return argument;
    }
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t character : argument) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(character == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += character;
    }
    out.append(backslashes * 2, L'\\');
    return out + L'"';
}

} // namespace

Win32Launcher::Win32Launcher()
    : Win32Launcher(currentDirectory())
{
}

Win32Launcher::Win32Launcher(std::wstring startFolder)
    : m_startFolder(fullPath(startFolder))
{
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
    line = quoted(toWide(program));
    for (const std::string& argument : arguments) {
        line.append(L" ").append(quoted(toWide(argument)));
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
    std::wstring consoleTitle = toWide(title);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    startup.lpTitle = consoleTitle.data();
    PROCESS_INFORMATION started{};
    // The compiler may build paths from its working directory, which it too reads in ANSI.
    const std::wstring workingFolder = survivingFolder(m_startFolder).value_or(m_startFolder);
    if (!CreateProcessW(path->c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                        nullptr, workingFolder.c_str(), &startup, &started)) {
        throw LaunchError::notStarted(program);
    }
    // The compiler runs on its own; nothing here waits for it or keeps it.
    OwnedKernelHandle process(started.hProcess);
    OwnedKernelHandle thread(started.hThread);
}
