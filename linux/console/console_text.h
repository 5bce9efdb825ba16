#pragma once

#include "run_report.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Turns the bytes a program writes to its terminal into lines of text, as a plain terminal shows
// them: a carriage return goes back to the start of the line, so counters redrawn in place
// overwrite each other; a line feed ends the line; a backspace steps back; tabs stop every eight
// columns. UTF-8 is decoded across chunk boundaries, an invalid byte becomes U+FFFD, and escape
// sequences and other controls are dropped, as are the line and paragraph separators, which a view
// would take for line ends. Memory stays bounded: a line wraps after
// kMaxColumns characters, and at most kMaxLines finished lines wait to be taken. Once the program
// has ended, its ending line stays last: output that still arrives goes above it.
class ConsoleText {
public:
    static constexpr std::size_t kMaxLines = 10000;
    static constexpr std::size_t kMaxColumns = 1024;

    void feed(std::string_view bytes);

    // What a view needs to catch up: the lines finished since the last take, oldest first, the
    // line the cursor is on, and the ending line once there is one.
    struct Update {
        std::vector<std::string> finished;
        std::string current;
        std::optional<RunEnding> ending;
    };

    // A line of the console's own that stays below everything the program writes, before or after.
    void setEnding(RunEnding ending);

    Update takeUpdate();

    // The lines finished since the last call, oldest first; the newest kMaxLines at most.
    std::vector<std::string> takeFinishedLines();

    // The line the cursor is on, not yet ended.
    std::string currentLine() const;

private:
    enum class Escape { None, Start, Intermediate, ControlSequence, String, StringEnd };

    void decode(unsigned char byte);
    void character(char32_t code);
    void control(char32_t code);
    void escape(char32_t code);
    void print(char32_t code);
    void endLine();
    void resetDecoder();

    // The UTF-8 sequence being decoded.
    char32_t m_code = 0;
    int m_needed = 0;
    unsigned char m_lower = 0x80;
    unsigned char m_upper = 0xBF;

    Escape m_escape = Escape::None;
    std::u32string m_line;
    std::size_t m_column = 0;
    std::deque<std::string> m_finished;
    std::optional<RunEnding> m_ending;
};
