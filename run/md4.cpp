#include "md4.h"

#include "little_endian.h"

#include <algorithm>
#include <bit>

namespace {

constexpr std::size_t kBlock = 64;

// The three rounds' functions.
constexpr std::uint32_t chooses(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (~x & z);
}

constexpr std::uint32_t majority(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return (x & y) | (x & z) | (y & z);
}

constexpr std::uint32_t parity(std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    return x ^ y ^ z;
}

using Words = std::array<std::uint32_t, 16>;
using Order = std::array<std::size_t, 16>;
using Shifts = std::array<int, 4>;

// One round: sixteen steps, each on the next of a, d, c, b in turn, from the other three.
template <auto Mix, std::uint32_t Constant>
void round(std::array<std::uint32_t, 4>& state, const Words& words, const Order& order, const Shifts& shifts)
{
    auto& [a, b, c, d] = state;
    for (std::size_t step = 0; step < 16; step += 4) {
        a = std::rotl(a + Mix(b, c, d) + words[order[step]] + Constant, shifts[0]);
        d = std::rotl(d + Mix(a, b, c) + words[order[step + 1]] + Constant, shifts[1]);
        c = std::rotl(c + Mix(d, a, b) + words[order[step + 2]] + Constant, shifts[2]);
        b = std::rotl(b + Mix(c, d, a) + words[order[step + 3]] + Constant, shifts[3]);
    }
}

} // namespace

void Md4::transform(const std::uint8_t* block)
{
    Words words;
    for (std::size_t index = 0; index < words.size(); ++index) {
        words[index] = littleEndianWord(block + 4 * index);
    }
    std::array<std::uint32_t, 4> state = m_state;
    round<chooses, 0>(state, words, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {3, 7, 11, 19});
    round<majority, 0x5A827999>(state, words, {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15},
                                {3, 5, 9, 13});
    round<parity, 0x6ED9EBA1>(state, words, {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15},
                              {3, 9, 11, 15});
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
