#include "path_text.h"

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0U) == 0x80U;
}

// Length of the sequence a lead byte announces; 0 for a byte that cannot lead one.
std::size_t sequenceLength(unsigned char lead)
{
    if (lead < 0x80U) {
        return 1;
    }
    if (lead >= 0xC2U && lead <= 0xDFU) {
        return 2;
    }
    if (lead >= 0xE0U && lead <= 0xEFU) {
        return 3;
    }
    if (lead >= 0xF0U && lead <= 0xF4U) {
        return 4;
    }
    return 0;
}

// Start of the character that ends just before `end`.
std::size_t characterStart(std::string_view text, std::size_t end)
{
    const std::size_t limit = end >= 4 ? end - 4 : 0;
    std::size_t lead = end - 1;
    while (lead > limit && isContinuation(static_cast<unsigned char>(text[lead]))) {
        --lead;
    }
    const auto leadByte = static_cast<unsigned char>(text[lead]);
    if (!isContinuation(leadByte) && sequenceLength(leadByte) == end - lead) {
        return lead;
    }
    return end - 1;
}

} // namespace

std::string_view lastCharacters(std::string_view utf8, std::size_t count)
{
    std::size_t start = utf8.size();
    for (std::size_t taken = 0; taken < count && start > 0; ++taken) {
        start = characterStart(utf8, start);
    }
    return utf8.substr(start);
}

std::string asciiUpper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}
