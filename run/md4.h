#pragma once

#include <array>
#include <cstdint>
#include <span>

// The MD4 message digest (RFC 1320), fed in pieces of any size, so that a file of any size is
// digested in constant memory. The game checks an .aas against its map with it.
class Md4 {
public:
    using Digest = std::array<std::uint8_t, 16>;

    void update(std::span<const std::uint8_t> bytes);
    // The digest of everything fed so far; more may still be fed after.
    Digest digest() const;

private:
    void transform(const std::uint8_t* block);

    std::array<std::uint32_t, 4> m_state{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
    std::array<std::uint8_t, 64> m_pending{};
    std::uint64_t m_length = 0; // bytes fed
};
