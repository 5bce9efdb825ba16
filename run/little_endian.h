#pragma once

#include <cstdint>

// The 32-bit word stored little-endian at `bytes`, as .aas files and MD4 keep theirs.
inline std::uint32_t littleEndianWord(const std::uint8_t* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::uint32_t(bytes[3]) << 24);
}
