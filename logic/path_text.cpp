#include "path_text.h"

#include "utf8.h"

namespace {

// A lead byte followed by exactly the number of continuation bytes it announces.
bool isWholeCharacter(std::string_view sequence)
{
    return utf8Lead(static_cast<unsigned char>(sequence[0])).length == sequence.size();
}

// Start of the character that ends just before `end`.
std::size_t characterStart(std::string_view text, std::size_t end)
{
    const std::size_t limit = end >= 4 ? end - 4 : 0;
    std::size_t lead = end - 1;
    while (lead > limit && isContinuation(static_cast<unsigned char>(text[lead]))) {
        --lead;
    }
    return isWholeCharacter(text.substr(lead, end - lead)) ? lead : end - 1;
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
