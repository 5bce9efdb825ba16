#pragma once

#include <optional>
#include <string>
#include <string_view>

// The one message the console host sends back over its report socket, as one line of text.
struct LaunchReport {
    enum class Outcome {
        Started,        // the program runs on the host's terminal
        ProgramFailed,  // the program could not be executed; error holds errno
        HostUnavailable // the host could not set up its terminal; nothing was started
    };
    Outcome outcome = Outcome::Started;
    int error = 0;

    std::string encode() const;
    static std::optional<LaunchReport> decode(std::string_view line);

    bool operator==(const LaunchReport&) const = default;
};

// Sent back after a failure report was read, so the host knows the user has been told and
// need not show the failure in a window of its own.
inline constexpr char kReportAcknowledged = '!';
