#include "aas_header.h"

#include "little_endian.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kIdent = 'E' | ('A' << 8) | ('A' << 16) | (std::uint32_t('S') << 24);
constexpr std::uint32_t kScrambledVersion = 5;
constexpr std::uint32_t kOldVersion = 4;
constexpr std::size_t kScrambledFrom = 8;
constexpr std::size_t kChecksumAt = 8;
constexpr std::size_t kLumpsAt = 12;
constexpr std::size_t kLumps = 14;

std::uint32_t wordAt(const std::array<std::uint8_t, AasHeader::kSize>& bytes, std::size_t at)
{
    return littleEndianWord(bytes.data() + at);
}

} // namespace

AasHeader AasHeader::read(std::span<const std::uint8_t> start, std::uint64_t fileSize)
{
    if (start.size() < kSize || fileSize < kSize) {
        return {Fault::TooShort};
    }
    std::array<std::uint8_t, kSize> bytes;
    std::copy_n(start.begin(), kSize, bytes.begin());
    if (wordAt(bytes, 0) != kIdent) {
        return {Fault::NotAas};
    }
    const std::uint32_t version = wordAt(bytes, 4);
    if (version != kScrambledVersion && version != kOldVersion) {
        return {Fault::UnknownVersion};
    }
    if (version == kScrambledVersion) {
        for (std::size_t at = kScrambledFrom; at < kSize; ++at) {
            bytes[at] ^= std::uint8_t((at - kScrambledFrom) * 119);
        }
    }
    // An empty lump is never read, wherever it says it lies.
    for (std::size_t lump = 0; lump < kLumps; ++lump) {
        const auto offset = std::int32_t(wordAt(bytes, kLumpsAt + 8 * lump));
        const auto length = std::int32_t(wordAt(bytes, kLumpsAt + 8 * lump + 4));
        if (length < 0 ||
            (length > 0 && (offset < 0 || std::uint64_t(offset) + std::uint64_t(length) > fileSize))) {
            return {Fault::LumpOutside};
        }
    }
    return {Fault::None, wordAt(bytes, kChecksumAt)};
}
