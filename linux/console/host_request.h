#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the console host is asked to do, and the argument list that asks it. Both directions live
// here so that the front end and the host can never disagree on the order:
//   tarnwick-console REPORT-FD|- TITLE PROGRAM [ARGUMENT...]
// REPORT-FD is an inherited socket on which the host says whether the program started.
struct HostRequest {
    std::optional<int> reportDescriptor;
    std::string title;
    std::string program; // an absolute path: the host never searches for it
    std::vector<std::string> arguments;

    std::vector<std::string> toArguments() const;
    // Nothing when the list breaks the form above.
    static std::optional<HostRequest> fromArguments(const std::vector<std::string>& list);
};

inline constexpr std::string_view kHostUsage =
    "usage: tarnwick-console REPORT-FD|- TITLE PROGRAM [ARGUMENT...]";
