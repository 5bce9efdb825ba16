#pragma once

#include <chrono>
#include <cstdint>

// A Windows FILETIME, 100-nanosecond ticks since 1601 in UTC, on the clock the shared logic keeps
// its times on: system_clock, which counts from 1970.
std::chrono::system_clock::time_point fromFileTime(std::uint64_t ticks);
