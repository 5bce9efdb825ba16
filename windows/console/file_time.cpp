#include "file_time.h"

#include "file_stamp.h"

namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
// From 1601-01-01 to 1970-01-01: 369 years, 89 of them leap years.
constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

} // namespace

std::chrono::system_clock::time_point fromFileTime(std::uint64_t ticks)
{
    const auto seconds = static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970;
    return fileTimePoint(seconds, static_cast<std::int64_t>(ticks % kTicksPerSecond) * 100);
}
