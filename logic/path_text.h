#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The last `count` characters of a UTF-8 text (the whole text when it is shorter). A character is
// a whole, well-formed UTF-8 sequence; any byte that is not part of one counts as a character of
// its own, so the result never splits a character and never reads before the text.
std::string_view lastCharacters(std::string_view utf8, std::size_t count);

// Upper-cases ASCII letters only: the file types compared against are plain ASCII, and a wider
// mapping would let look-alike letters (such as the long s) pass for them.
std::string asciiUpper(std::string_view text);
