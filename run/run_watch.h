#pragma once

#include "file_access.h"
#include "run_report.h"

#include <chrono>
#include <string>
#include <vector>

// One compiler run as its console watches it, alike on both platforms: taken just before the
// program starts, with the state of the file its mode writes and both clocks; at the end it looks
// at that file once more and, for an .aas, reads its map once, for the console's last line.
class RunWatch {
public:
    using SystemClock = std::chrono::system_clock;
    using SteadyClock = std::chrono::steady_clock;

    // Just before a program with these arguments starts in `workingFolder`.
    static RunWatch begin(const FileAccess& files, std::vector<std::string> arguments,
                          const std::string& workingFolder);

    // `report` was made for these arguments.
    RunWatch(std::vector<std::string> arguments, RunReport report, SteadyClock::time_point started);

    // Once the program has ended as `exit`.
    RunEnding end(const FileAccess& files, const RunExit& exit) const;

    const std::vector<std::string>& arguments() const { return m_arguments; }
    const RunReport& report() const { return m_report; }
    SteadyClock::time_point started() const { return m_started; }

private:
    std::vector<std::string> m_arguments;
    RunReport m_report;
    SteadyClock::time_point m_started;
};

// The mode's file as it is now: its stamp, and for an .aas its header, read between two looks at
// the stamp, so that a file that changes while it is read gives no header.
FileState fileStateOf(const FileAccess& files, const RunOutputs& outputs);
