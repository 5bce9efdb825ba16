#pragma once

#include "program_launcher.h"

#include <optional>
#include <string>
#include <vector>

// Starts the compiler in a console window of its own, minimized, and returns at once. The program
// is `NAME.exe` (in any letter case, as Windows names are), looked for in the working directory,
// then in each folder on PATH. Nothing else is ever run: a batch file would hand its command line
// to cmd.exe, which would read `&` or `%` in a map's path as commands.
class Win32Launcher : public ProgramLauncher {
public:
    void launch(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& title) override;

    // The full path of the first `NAME.exe` that is a file, if any.
    static std::optional<std::wstring> findProgram(const std::wstring& name);

    // What the program gets as its command line: the shown text itself whenever every Windows
    // parser reads it back as exactly these arguments, which every legal file name does; otherwise
    // the arguments, each quoted as those parsers expect.
    static std::wstring commandLineFor(const std::string& program, const std::vector<std::string>& arguments,
                                       const std::string& shown);
};
