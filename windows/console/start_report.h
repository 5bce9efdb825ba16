#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The one message the console host sends back over its report pipe, as one line of text: whether
// it started the compiler, and if not, the Windows error code of the failed start.
struct StartReport {
    enum class Outcome { Started, ProgramFailed };
    Outcome outcome = Outcome::Started;
    std::uint32_t error = 0;

    std::string encode() const;
    static std::optional<StartReport> decode(std::string_view line);

    bool operator==(const StartReport&) const = default;
};

// Sent back after a failure report was read, so the host knows the user has been told and need
// not show the failure in its console.
inline constexpr char kReportAcknowledged = '!';
