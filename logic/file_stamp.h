#pragma once

#include <chrono>
#include <cstdint>

// What a file's state says about whether it was written: when it was last modified, and its size.
struct FileStamp {
    std::chrono::system_clock::time_point modified;
    std::uint64_t size = 0;

    bool operator==(const FileStamp&) const = default;
};
