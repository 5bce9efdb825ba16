#include "file_time.h"

namespace {

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;
// From 1601-01-01 to 1970-01-01: 369 years, 89 of them leap years.
constexpr Ticks kFrom1601To1970{116'444'736'000'000'000};

} // namespace

std::chrono::system_clock::time_point fromFileTime(std::uint64_t ticks)
{
    const Ticks since1970 = Ticks(static_cast<std::int64_t>(ticks)) - kFrom1601To1970;
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(since1970));
}
