#include "md4.h"

#include "little_endian.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::size_t kBlock = 64;

// The three rounds' functions and constants, and the order each round takes the words in.
std::uint32_t chooses(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (~x & z);
}

std::uint32_t majority(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (x & z) | (y & z);
}

std::uint32_t parity(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return x ^ y ^ z;
}

struct Round {
    std::uint32_t (*mix)(std::uint32_t, std::uint32_t, std::uint32_t);
    std::uint32_t constant;
    std::array<int, 16> order;
    std::array<int, 4> shifts;
};

constexpr std::array<Round, 3> kRounds{{
    {chooses, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {3, 7, 11, 19}},
    {majority, 0x5A827999, {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15}, {3, 5, 9, 13}},
    {parity, 0x6ED9EBA1, {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15}, {3, 9, 11, 15}},
}};

} // namespace

void Md4::transform(const std::uint8_t* block)
{
    std::array<std::uint32_t, 16> words;
    for (std::size_t index = 0; index < words.size(); ++index) {
        words[index] = littleEndianWord(block + 4 * index);
    }
    std::array<std::uint32_t, 4> state = m_state;
    for (const Round& round : kRounds) {
        for (std::size_t step = 0; step < 16; ++step) {
            // Each step works on the next of a, d, c, b in turn, from the other three.
            std::uint32_t& a = state[(4 - step % 4) % 4];
            const std::uint32_t b = state[(5 - step % 4) % 4];
            const std::uint32_t c = state[(6 - step % 4) % 4];
            const std::uint32_t d = state[(7 - step % 4) % 4];
            a = std::rotl(a + round.mix(b, c, d) + words[std::size_t(round.order[step])] + round.constant,
                          round.shifts[step % 4]);
        }
    }
    for (std::size_t index = 0; index < m_state.size(); ++index) {
        m_state[index] += state[index];
    }
}

void Md4::update(std::span<const std::uint8_t> bytes)
{
    std::size_t pending = std::size_t(m_length % kBlock);
    m_length += bytes.size();
    if (pending > 0) {
        const std::size_t taken = std::min(kBlock - pending, bytes.size());
        std::copy_n(bytes.begin(), taken, m_pending.begin() + std::ptrdiff_t(pending));
        bytes = bytes.subspan(taken);
        if (pending + taken < kBlock) {
            return;
        }
        transform(m_pending.data());
    }
    for (; bytes.size() >= kBlock; bytes = bytes.subspan(kBlock)) {
        transform(bytes.data());
    }
    std::copy(bytes.begin(), bytes.end(), m_pending.begin());
}

// A one, zeros up to 8 bytes short of a block, and the length in bits.
Md4::Digest Md4::digest() const
{
    Md4 last = *this;
    const std::uint64_t bits = m_length * 8;
    const std::size_t pending = std::size_t(m_length % kBlock);
    std::array<std::uint8_t, 2 * kBlock> padding{0x80};
    const std::size_t zerosTo = pending < kBlock - 8 ? kBlock - 8 : 2 * kBlock - 8;
    last.update(std::span(padding).first(zerosTo - pending));
    std::array<std::uint8_t, 8> length;
    for (std::size_t index = 0; index < length.size(); ++index) {
        length[index] = std::uint8_t(bits >> (8 * index));
    }
    last.update(length);
    Digest digest;
    for (std::size_t index = 0; index < digest.size(); ++index) {
        digest[index] = std::uint8_t(last.m_state[index / 4] >> (8 * (index % 4)));
    }
    return digest;
}
