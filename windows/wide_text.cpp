#include "wide_text.h"

#include "utf8.h"

namespace {

// A lead byte's sequence as this boundary accepts it: well-formed UTF-8, and surrogates too.
Utf8Lead acceptedLead(unsigned char byte)
{
    Utf8Lead lead = utf8Lead(byte);
    if (byte == 0xED) {
        lead.secondHighest = 0xBF;
    }
    return lead;
}

// Decodes one code point at `at`, moving past it; a malformed byte becomes U+FFFD on its own.
char32_t decodeAt(std::string_view text, std::size_t& at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const Utf8Lead shape = acceptedLead(lead);
    if (shape.length == 1) {
        return text[at++];
    }
    if (shape.length == 0 || at + shape.length > text.size()) {
        ++at;
        return kReplacementCharacter;
    }
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if (second < shape.secondLowest || second > shape.secondHighest) {
        ++at;
        return kReplacementCharacter;
    }
    char32_t point = lead & (0x7F >> shape.length);
    for (std::size_t i = 1; i < shape.length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if (!isContinuation(next)) {
            ++at;
            return kReplacementCharacter;
        }
        point = (point << 6) | (next & 0x3F);
    }
    at += shape.length;
    return point;
}

void appendUtf16(std::wstring& out, char32_t point)
{
    if (point < 0x10000) {
        out += static_cast<wchar_t>(point);
        return;
    }
    point -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (point >> 10));
    out += static_cast<wchar_t>(0xDC00 + (point & 0x3FF));
}

bool isHighSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

std::wstring toWide(std::string_view utf8)
{
    std::wstring wide;
    wide.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        appendUtf16(wide, decodeAt(utf8, at));
    }
    return wide;
}

std::string toUtf8(std::wstring_view wide)
{
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t at = 0; at < wide.size(); ++at) {
        const wchar_t unit = wide[at];
        if (isHighSurrogate(unit) && at + 1 < wide.size() && isLowSurrogate(wide[at + 1])) {
            appendUtf8(utf8, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(wide[at + 1]) - 0xDC00));
            ++at;
        } else {
            appendUtf8(utf8, static_cast<char32_t>(unit));
        }
    }
    return utf8;
}
