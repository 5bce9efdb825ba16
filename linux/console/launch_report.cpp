#include "launch_report.h"

#include <array>
#include <charconv>

namespace {

constexpr std::array<std::string_view, 3> kWords{"started", "failed", "unavailable"};

} // namespace

std::string LaunchReport::encode() const
{
    return std::string(kWords[std::size_t(outcome)]) + ' ' + std::to_string(error) + '\n';
}

std::optional<LaunchReport> LaunchReport::decode(std::string_view line)
{
    if (!line.ends_with('\n')) {
        return std::nullopt;
    }
    line.remove_suffix(1);
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view word = line.substr(0, blank);
    const std::string_view number = line.substr(blank + 1);
    int error = 0;
    const auto [end, problem] = std::from_chars(number.data(), number.data() + number.size(), error);
    if (problem != std::errc{} || end != number.data() + number.size() || number.empty()) {
        return std::nullopt;
    }
    for (std::size_t index = 0; index < kWords.size(); ++index) {
        if (word == kWords[index]) {
            return LaunchReport{Outcome(index), error};
        }
    }
    return std::nullopt;
}
