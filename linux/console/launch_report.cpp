#include "launch_report.h"

#include "report_line.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 3> kWords{"started", "failed", "unavailable"};

} // namespace

std::string LaunchReport::encode() const
{
    return encodeReportLine(kWords, outcome, error);
}

std::optional<LaunchReport> LaunchReport::decode(std::string_view line)
{
    const auto read = decodeReportLine<Outcome, int>(kWords, line);
    return read ? std::optional(LaunchReport{read->first, read->second}) : std::nullopt;
}
