#pragma once

#include "console_start.h"
#include "program_launcher.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Starts the compiler in a console window of its own, minimized and titled with the shown command
// line, and returns at once. The console is the console host's, which runs the compiler in it and
// keeps it open after the run with a line saying how it ended; without a host, or with one that
// ends without a word, the compiler is started in a console of its own directly. The host's answer
// comes later, on this thread's message loop: a compiler the host could not start is told of then. The
// program is `NAME.exe` (in any letter case, as Windows names are), looked for in the folder Tarnwick started
// in, then in each folder on PATH; it runs in that start folder. Nothing else is ever run: a batch file would
// hand its command line to cmd.exe, which would read `&` or `%` in a map's path as commands. No line starts
// that the compiler's ANSI command line would read differently.
class Win32Launcher : public ProgramLauncher {
public:
    // How long the console host's answer is awaited, off the window's thread. A host that takes
    // longer is taken to have started the compiler, and tells of a failure in its own console.
    static constexpr std::chrono::milliseconds kHostPatience{1000};

    // Records the current directory as the start folder: the file dialogs may move the current
    // directory later, and a BSPC.exe beside a downloaded map must never be the one run. A start
    // that fails after launch() has returned goes to `lateFailure`; without one, the console host
    // shows it in its console.
    explicit Win32Launcher(ConsoleStart::Failed lateFailure = {});
    // An empty `consoleHost` means none: the compiler is started directly.
    explicit Win32Launcher(std::wstring startFolder, std::wstring consoleHost = consoleHostBesideProgram(),
                           std::chrono::milliseconds hostPatience = kHostPatience,
                           ConsoleStart::Failed lateFailure = {});

    void launch(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& title) override;
    std::string launchableName(const std::string& argument) const override;

    // Waits for every answer the console host still owes and acts on it, as the message loop does
    // when each comes: for a caller with no message loop, as a test or a benchmark.
    void settle() { m_consoleStart.settle(); }

    // The full path of the first `NAME.exe` that is a file, if any.
    std::optional<std::wstring> findProgram(const std::wstring& name) const;

    // What the program gets as its command line: the shown text itself whenever every Windows
    // parser reads it back as exactly these arguments, which every legal file name does; otherwise
    // the arguments, each quoted as those parsers expect.
    static std::wstring commandLineFor(const std::string& program, const std::vector<std::string>& arguments,
                                       const std::string& shown);

    // tarnwick-console.exe in this program's own folder, never one found along PATH or in the
    // working directory; empty when there is none.
    static std::wstring consoleHostBesideProgram();

private:
    std::wstring m_startFolder;
    std::wstring m_consoleHost;
    ConsoleStart m_consoleStart;
};
