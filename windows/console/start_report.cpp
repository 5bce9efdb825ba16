#include "start_report.h"

#include "report_line.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 2> kWords{"started", "failed"};

} // namespace

std::string StartReport::encode() const
{
    return encodeReportLine(kWords, outcome, error);
}

std::optional<StartReport> StartReport::decode(std::string_view line)
{
    const auto read = decodeReportLine<Outcome, std::uint32_t>(kWords, line);
    return read ? std::optional(StartReport{read->first, read->second}) : std::nullopt;
}
