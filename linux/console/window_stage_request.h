#pragma once

#include "watch_arguments.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// What the console's starter hands its window stage across the exec, and the argument list that
// carries it; both directions live here so that the two stages can never disagree:
//   tarnwick-console-window run MASTER-FD PID TITLE WATCH...
//   tarnwick-console-window failed TITLE MESSAGE
// A run names the terminal's master side and the program, a child of this same process, and what
// the console watches it for (RunWatch); a failure is a start that the front end could not be
// told of.
struct WindowStageRequest {
    enum class Kind { Run, Failure };
    Kind kind = Kind::Run;
    int master = -1;
    pid_t pid = -1;
    std::string title;
    std::string message;
    std::optional<RunWatch> watch; // for a run

    std::vector<std::string> toArguments() const;
    // Nothing when the list breaks the forms above.
    static std::optional<WindowStageRequest> fromArguments(const std::vector<std::string>& list);
};

inline constexpr std::string_view kWindowStageUsage =
    "usage: tarnwick-console-window run MASTER-FD PID TITLE WATCH... | failed TITLE MESSAGE";
