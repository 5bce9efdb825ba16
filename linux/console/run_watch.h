#pragma once

#include "run_report.h"

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <vector>

// One compiler run as its console watches it: the program's arguments, which say what it writes;
// the folder it runs in; that file's state and the clocks just before the start. Crosses the exec
// from the starter to the window stage as arguments, so that the start is taken where it happens.
class RunWatch {
public:
    // Taken just before a program with these arguments starts in the current directory.
    static RunWatch begin(std::vector<std::string> arguments);

    // The console's last line, once the program has ended with this wait status.
    std::string endingLine(int waitStatus) const;

    //   STARTED-STEADY-NS STARTED-SYSTEM-NS BEFORE FOLDER [ARGUMENT...]
    // where BEFORE is "-" for no file, or MODIFIED-NS:SIZE.
    std::vector<std::string> toArguments() const;
    // Nothing when the list breaks that form.
    static std::optional<RunWatch> fromArguments(std::span<const std::string> list);

    const std::vector<std::string>& arguments() const { return m_arguments; }
    const RunReport& report() const { return m_report; }

private:
    RunWatch(std::vector<std::string> arguments, RunOutputs outputs, std::optional<FileStamp> before,
             std::chrono::system_clock::time_point startedAt, std::chrono::steady_clock::time_point started);

    std::vector<std::string> m_arguments;
    RunReport m_report;
    std::chrono::steady_clock::time_point m_started;
};
