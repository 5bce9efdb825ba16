#pragma once

#include "program_launcher.h"

#include <QString>
#include <chrono>
#include <optional>

// Starts a program detached, through an explicit path and argument list and never through a shell.
// The program is looked for in the current working directory first, then along PATH, under its
// own name and then in lower case. It runs in a console window of its own, through the console
// host; without a host it is started directly and keeps this process's standard output and error.
// Either way it runs in this process's working directory, with this process's environment.
class PosixLauncher : public ProgramLauncher {
public:
    // How long a press waits at most for the console host to say the program started.
    static constexpr std::chrono::milliseconds kHostPatience{50};

    // With the console host installed beside this program.
    PosixLauncher();
    // With the given host; an empty path means none.
    explicit PosixLauncher(QString consoleHost, std::chrono::milliseconds hostPatience = kHostPatience);

    void launch(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& title) override;

    // The absolute path of the first executable regular file found for the name, if any.
    static std::optional<QString> findProgram(const QString& name);

    // The host in the installed tree, or next to this program in the build tree; never one found
    // along PATH or in the working directory. Empty when there is none.
    static QString installedConsoleHost();

private:
    QString m_consoleHost;
    std::chrono::milliseconds m_hostPatience;
};
