#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// The start protocol between a front end and its console host, the same on both platforms. The
// host sends one line on whether it started the program:
//   WORD ERROR\n
// where WORD names the outcome and ERROR is the system's error code of a failed start; the front
// end answers a failure with kReportAcknowledged once it has told the user, so that the host need
// not say it again.
struct StartReport {
    enum class Outcome {
        Started,        // the program runs in the host's console
        ProgramFailed,  // the program could not be started
        HostUnavailable // the host could not set up its console; nothing was started
    };
    Outcome outcome = Outcome::Started;
    std::uint32_t error = 0;

    std::string encode() const;
    // Nothing for a line of any other form, an unknown word included.
    static std::optional<StartReport> decode(std::string_view line);

    bool operator==(const StartReport&) const = default;
};

inline constexpr char kReportAcknowledged = '!';

// How a run handed to a console host began, as the front end sees it.
enum class ConsoleStartResult {
    Started,
    ProgramFailed,  // the host could not start the program, and knows the caller was told
    HostUnavailable // the host did not start, or ended without a word: nothing was started
};

// What the front end heard from the host: its line, nothing within the front end's patience, or
// the host's end closed before a whole line came.
struct HostSilence {};
struct HostClosed {};
using HostAnswer = std::variant<std::string, HostSilence, HostClosed>;

// Silence counts as started, as a host that is slow to answer has most likely started the program;
// `acknowledge` is called for a failure the caller is to tell the user of.
ConsoleStartResult startResultOf(const HostAnswer& answer, const std::function<void()>& acknowledge);

// True when the host started the program; the launch error when it could not; false when there
// was no host to be had, for the caller to start the program itself, as a run is never lost for
// want of a console.
bool startedInConsole(ConsoleStartResult result, const std::string& program);

// What a console shows when its program could not be started at all:
//   "Could not start PROGRAM: REASON."  or  "Could not set up a terminal for PROGRAM: REASON."
std::string describeStartFailure(const std::string& program, const std::string& reason, bool inSetUp = false);
