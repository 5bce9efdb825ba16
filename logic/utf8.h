#pragma once

#include <cstddef>

// What a UTF-8 lead byte announces: the length of its sequence, and the range its second byte must
// fall in for the sequence to be well-formed (no overlong forms, no surrogates, nothing past
// U+10FFFF). Later bytes are always 0x80 to 0xBF. A byte that cannot lead a sequence has length 0.
struct Utf8Lead {
    std::size_t length;
    unsigned char secondLowest;
    unsigned char secondHighest;
};

constexpr Utf8Lead utf8Lead(unsigned char byte)
{
    if (byte < 0x80) {
        return {1, 0, 0};
    }
    if (byte >= 0xC2 && byte <= 0xDF) {
        return {2, 0x80, 0xBF};
    }
    if (byte >= 0xE0 && byte <= 0xEF) {
        return {3, byte == 0xE0 ? (unsigned char)0xA0 : (unsigned char)0x80,
                byte == 0xED ? (unsigned char)0x9F : (unsigned char)0xBF};
    }
    if (byte >= 0xF0 && byte <= 0xF4) {
        return {4, byte == 0xF0 ? (unsigned char)0x90 : (unsigned char)0x80,
                byte == 0xF4 ? (unsigned char)0x8F : (unsigned char)0xBF};
    }
    return {0, 0, 0};
}
