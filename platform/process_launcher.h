#pragma once

#include "program_launcher.h"

#include <QString>
#include <optional>

// Starts a program detached, through an explicit path and argument list and never through a shell.
// The program is looked for in the current working directory first, then along PATH, under its
// own name and then in lower case. The started program keeps the standard output and error of
// this process, so its console output shows where Tarnwick was started from.
class ProcessLauncher : public ProgramLauncher {
public:
    void launch(const std::string& program, const std::vector<std::string>& arguments) override;

    // The absolute path of the first executable regular file found for the name, if any.
    static std::optional<QString> findProgram(const QString& name);
};
