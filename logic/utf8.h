#pragma once

#include <cstddef>
#include <string>

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

// What stands for a byte that is no part of a well-formed character.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

constexpr bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0U) == 0x80U;
}

// Appends a code point in UTF-8. A surrogate goes as its three-byte form, as WTF-8 carries one.
inline void appendUtf8(std::string& text, char32_t code)
{
    if (code < 0x80) {
        text += char(code);
    } else if (code < 0x800) {
        text += char(0xC0 | (code >> 6));
        text += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += char(0xE0 | (code >> 12));
        text += char(0x80 | ((code >> 6) & 0x3F));
        text += char(0x80 | (code & 0x3F));
    } else {
        text += char(0xF0 | (code >> 18));
        text += char(0x80 | ((code >> 12) & 0x3F));
        text += char(0x80 | ((code >> 6) & 0x3F));
        text += char(0x80 | (code & 0x3F));
    }
}
