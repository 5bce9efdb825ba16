// Arbitrary bytes in arbitrary chunks: the conversion never crashes, keeps its scrollback and line
// lengths bounded, always yields valid UTF-8, and gives the same text however the bytes were split.
#include "console_text.h"
#include "fuzz_require.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Valid UTF-8 of at most `limit` characters.
bool wellFormed(const std::string& text, std::size_t limit)
{
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80   ? 1
                                   : lead < 0xC2 ? 0
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 0;
        if (length == 0 || at + length > text.size()) {
            return false;
        }
        for (std::size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) {
                return false;
            }
        }
        at += length;
    }
    return characters <= limit;
}

std::vector<std::string> transcript(ConsoleText& text)
{
    std::vector<std::string> lines = text.takeFinishedLines();
    require(lines.size() <= ConsoleText::kMaxLines);
    lines.push_back(text.currentLine());
    for (const std::string& line : lines) {
        require(wellFormed(line, ConsoleText::kMaxColumns));
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    // The first byte seeds the chunk sizes; the rest is the output.
    unsigned seed = data[0];
    const std::string output(reinterpret_cast<const char*>(data + 1), size - 1);

    ConsoleText chunked;
    for (std::size_t at = 0; at < output.size();) {
        seed = seed * 1103515245U + 12345U;
        const std::size_t length = 1 + (seed >> 16) % 17;
        chunked.feed(std::string_view(output).substr(at, length));
        at += length;
    }
    ConsoleText whole;
    whole.feed(output);
    require(transcript(chunked) == transcript(whole));

    // Whatever comes after the end, the ending line stays.
    whole.setEnding({"end"});
    whole.feed(output);
    transcript(whole);
    require(whole.takeUpdate().ending == RunEnding{"end"});
    return 0;
}
