#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// What an .aas file's header says, checked as the game checks it before it loads the file: the
// ident "EAAS", version 5 (or the older 4), the checksum of the map the file was made for, and 14
// lumps that must lie inside the file. All of it little-endian 32-bit integers; in version 5
// everything after the version is stored scrambled.
struct AasHeader {
    enum class Fault { None, TooShort, NotAas, UnknownVersion, LumpOutside };
    static constexpr std::size_t kSize = 4 + 4 + 4 + 14 * 8;

    Fault fault = Fault::TooShort;
    std::uint32_t mapChecksum = 0; // when there is no fault

    bool isValid() const { return fault == Fault::None; }

    // The header of a file `fileSize` bytes long, from its first bytes (at most kSize are looked at).
    static AasHeader read(std::span<const std::uint8_t> start, std::uint64_t fileSize);

    bool operator==(const AasHeader&) const = default;
};
