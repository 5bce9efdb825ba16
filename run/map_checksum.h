#pragma once

#include "file_access.h"

#include <cstdint>
#include <optional>
#include <string>

// Past this, a file is not read for its checksum, so that the ending line never waits long.
inline constexpr std::uint64_t kMaxMapBytes = std::uint64_t(1) << 30;

// The checksum the game and the compiler take of a map: the MD4 digest of the whole file, its four
// little-endian words folded into one by XOR. Nothing for a map that cannot be read, is empty, is
// larger than kMaxMapBytes, or changes while it is read.
std::optional<std::uint32_t> mapChecksumOf(const FileAccess& files, const std::string& map);
