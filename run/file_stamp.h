#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>

// What a file's state says about whether it was written: when it was last modified, and its size.
struct FileStamp {
    std::chrono::system_clock::time_point modified;
    std::uint64_t size = 0;

    bool operator==(const FileStamp&) const = default;

    // Whole seconds: a file system that keeps no fraction of a second, or one that rounds to two.
    bool isCoarse() const
    {
        return modified.time_since_epoch() % std::chrono::seconds(1) == decltype(modified)::duration(0);
    }
};

// A file system's time stamp, seconds since 1970 and the nanoseconds below: a date centuries away,
// which the clock cannot hold, is taken as the nearest it can.
inline std::chrono::system_clock::time_point fileTimePoint(std::int64_t seconds, std::int64_t nanoseconds)
{
    constexpr std::int64_t kLimit = std::int64_t(200) * 366 * 24 * 60 * 60;
    const std::chrono::seconds whole(std::clamp(seconds, -kLimit, kLimit));
    return std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            whole + std::chrono::nanoseconds(std::clamp<std::int64_t>(nanoseconds, 0, 999'999'999))));
}
