#pragma once

#include "decimal_argument.h"

#include <array>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The one line each platform's console host sends its front end to say how the start went:
//   WORD NUMBER\n
// where WORD names the outcome (`words[outcome]`) and NUMBER is the system's error code.
template <typename Outcome, typename Number, std::size_t N>
std::string encodeReportLine(const std::array<std::string_view, N>& words, Outcome outcome, Number error)
{
    return std::string(words[std::size_t(outcome)]) + ' ' + std::to_string(error) + '\n';
}

// Nothing for a line of any other form, an unknown word included.
template <typename Outcome, typename Number, std::size_t N>
std::optional<std::pair<Outcome, Number>> decodeReportLine(const std::array<std::string_view, N>& words,
                                                           std::string_view line)
{
    if (!line.ends_with('\n')) {
        return std::nullopt;
    }
    line.remove_suffix(1);
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos) {
        return std::nullopt;
    }
    const std::optional<Number> error =
        decimalArgument(line.substr(blank + 1), std::numeric_limits<Number>::min());
    for (std::size_t index = 0; error && index < N; ++index) {
        if (line.substr(0, blank) == words[index]) {
            return std::pair(Outcome(index), *error);
        }
    }
    return std::nullopt;
}
