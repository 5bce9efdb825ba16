#pragma once

#include "file_access.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// How long the ending line waits at most for a map to be read, from a slow disk or share, say.
inline constexpr std::chrono::seconds kMapReadPatience{2};

// The checksum the game and the compiler take of a map: the MD4 digest of the whole file, its four
// little-endian words folded into one by XOR. Nothing for a map that cannot be read, is empty,
// changes while it is read, or is not read whole within `patience`.
std::optional<std::uint32_t> mapChecksumOf(const FileAccess& files, const std::string& map,
                                           std::chrono::steady_clock::duration patience = kMapReadPatience);
