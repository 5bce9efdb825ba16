#include "run_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {

std::string twoDigits(long long value)
{
    std::string digits = std::to_string(value);
    digits.insert(0, 2 - std::min<std::size_t>(digits.size(), 2), '0');
    return digits;
}

std::string whereToLook(const RunOutputs& outputs)
{
    return "see the messages above and bspc.log in " + outputs.workingFolder + ".";
}

} // namespace

RunReport::RunReport(RunOutputs outputs, std::optional<FileStamp> before,
                     std::chrono::system_clock::time_point start)
    : m_outputs(std::move(outputs))
    , m_before(std::move(before))
    , m_start(start)
{
}

// A stamp that changed counts even when dated before the start: a file server's clock may lag. An
// unchanged one counts only within the slack, so that a file written by the run before is not
// taken for this run's.
bool RunReport::wasWritten(const std::optional<FileStamp>& after) const
{
    if (!after) {
        return false;
    }
    const std::chrono::system_clock::duration slack =
        after->isCoarse() ? std::chrono::system_clock::duration(kCoarseStampSlack) : kFineStampSlack;
    return after != m_before || after->modified >= m_start - slack;
}

std::string RunReport::endingLine(const RunExit& exit, std::chrono::nanoseconds took,
                                  const std::optional<FileStamp>& after) const
{
    const std::string ended = exit.text + " after " + describeDuration(took);
    if (!m_outputs.modeFile) {
        return exit.clean ? ended + "." : ended + ": " + whereToLook(m_outputs);
    }
    const std::string& file = *m_outputs.modeFile;
    if (!wasWritten(after)) {
        return ended + ", but " + file + " was not written: " + whereToLook(m_outputs);
    }
    if (after->size == 0) {
        return ended + ", but " + file + " is empty: " + whereToLook(m_outputs);
    }
    const std::string wrote = ended + ": wrote " + file + " (" + describeSize(after->size) + ")";
    return exit.clean ? wrote + "." : wrote + ", but " + whereToLook(m_outputs);
}

std::string describeDuration(std::chrono::nanoseconds took)
{
    using namespace std::chrono;
    const long long tenths = (std::max(took, nanoseconds(0)).count() + 50'000'000) / 100'000'000;
    if (tenths < 600) {
        return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
    }
    const long long seconds = (tenths + 5) / 10;
    if (seconds < 3600) {
        return std::to_string(seconds / 60) + " min " + twoDigits(seconds % 60) + " s";
    }
    const long long minutes = (seconds + 30) / 60;
    return std::to_string(minutes / 60) + " h " + twoDigits(minutes % 60) + " min";
}

// Three figures at most: a tenth below ten units, whole units above.
std::string describeSize(std::uint64_t bytes)
{
    if (bytes < 1024) {
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    }
    constexpr std::array<const char*, 4> kUnits{"KiB", "MiB", "GiB", "TiB"};
    double value = double(bytes) / 1024;
    std::size_t unit = 0;
    while (std::round(value) >= 1024 && unit + 1 < kUnits.size()) {
        value /= 1024;
        ++unit;
    }
    // Whole tenths, never the C locale's decimal comma, which the Qt window stage takes on.
    const auto tenths = static_cast<std::uint64_t>(std::llround(value * 10));
    const std::string figure = tenths < 100 ? std::to_string(tenths / 10) + "." + std::to_string(tenths % 10)
                                            : std::to_string((tenths + 5) / 10);
    return figure + " " + kUnits[unit];
}
