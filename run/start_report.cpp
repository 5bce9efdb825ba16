#include "start_report.h"

#include "decimal_argument.h"
#include "program_launcher.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 3> kWords{"started", "failed", "unavailable"};

} // namespace

std::string StartReport::encode() const
{
    return std::string(kWords[std::size_t(outcome)]) + ' ' + std::to_string(error) + '\n';
}

std::optional<StartReport> StartReport::decode(std::string_view line)
{
    if (!line.ends_with('\n')) {
        return std::nullopt;
    }
    line.remove_suffix(1);
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<std::uint32_t> error = decimalArgument<std::uint32_t>(line.substr(blank + 1), 0);
    for (std::size_t index = 0; error && index < kWords.size(); ++index) {
        if (line.substr(0, blank) == kWords[index]) {
            return StartReport{Outcome(index), *error};
        }
    }
    return std::nullopt;
}

ConsoleStartResult startResultOf(const HostAnswer& answer, const std::function<void()>& acknowledge)
{
    if (std::holds_alternative<HostSilence>(answer)) {
        return ConsoleStartResult::Started;
    }
    const std::string* line = std::get_if<std::string>(&answer);
    const std::optional<StartReport> report = line ? StartReport::decode(*line) : std::nullopt;
    if (!report) {
        return ConsoleStartResult::HostUnavailable;
    }
    if (report->outcome == StartReport::Outcome::Started) {
        return ConsoleStartResult::Started;
    }
    acknowledge();
    return report->outcome == StartReport::Outcome::ProgramFailed ? ConsoleStartResult::ProgramFailed
                                                                  : ConsoleStartResult::HostUnavailable;
}

bool startedInConsole(ConsoleStartResult result, const std::string& program)
{
    if (result == ConsoleStartResult::ProgramFailed) {
        throw LaunchError::notStarted(program);
    }
    return result == ConsoleStartResult::Started;
}

std::string describeStartFailure(const std::string& program, const std::string& reason, bool inSetUp)
{
    const std::string what = inSetUp ? "Could not set up a terminal for " : "Could not start ";
    return what + program + ": " + reason + ".";
}
