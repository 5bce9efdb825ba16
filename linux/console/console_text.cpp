#include "console_text.h"

#include "utf8.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::size_t kTabWidth = 8;

bool isC1Control(char32_t code)
{
    return code >= 0x80 && code <= 0x9F;
}

bool isLineOrParagraphSeparator(char32_t code)
{
    return code == 0x2028 || code == 0x2029;
}

// Characters that open a string an escape sequence carries (a title, say) up to its terminator.
bool opensString(char32_t code)
{
    return code == ']' || code == 'P' || code == 'X' || code == '^' || code == '_';
}

std::size_t plainRunEnd(std::string_view bytes, std::size_t at)
{
    while (at < bytes.size() && bytes[at] >= 0x20 && bytes[at] < 0x7F) {
        ++at;
    }
    return at;
}

} // namespace

void ConsoleText::feed(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        // Runs of plain printable ASCII, most of any compiler's output, skip the decoder.
        if (m_needed == 0 && m_escape == Escape::None) {
            const std::size_t end = plainRunEnd(bytes, at);
            for (; at < end; ++at) {
                print(char32_t(static_cast<unsigned char>(bytes[at])));
            }
            if (at == bytes.size()) {
                break;
            }
        }
        decode(static_cast<unsigned char>(bytes[at++]));
    }
}

// UTF-8 as the WHATWG decoder reads it: each maximal invalid subpart becomes one U+FFFD, and the
// byte that broke a sequence is read again on its own.
void ConsoleText::decode(unsigned char byte)
{
    if (m_needed == 0) {
        const Utf8Lead lead = utf8Lead(byte);
        if (lead.length == 1) {
            character(byte);
        } else if (lead.length == 0) {
            character(kReplacementCharacter);
        } else {
            m_needed = int(lead.length) - 1;
            m_lower = lead.secondLowest;
            m_upper = lead.secondHighest;
            m_code = byte & (0x7F >> lead.length);
        }
        return;
    }
    if (byte < m_lower || byte > m_upper) {
        resetDecoder();
        character(kReplacementCharacter);
        decode(byte);
        return;
    }
    m_lower = 0x80;
    m_upper = 0xBF;
    m_code = (m_code << 6) | (byte & 0x3F);
    if (--m_needed == 0) {
        character(m_code);
    }
}

void ConsoleText::character(char32_t code)
{
    if (m_escape != Escape::None) {
        escape(code);
    } else if (code < 0x20 || code == 0x7F) {
        control(code);
    } else if (isC1Control(code)) {
        // The single-character forms of CSI and of the string openers; other C1 controls vanish.
        if (code == 0x9B) {
            m_escape = Escape::ControlSequence;
        } else if (code == 0x90 || code == 0x98 || code == 0x9D || code == 0x9E || code == 0x9F) {
            m_escape = Escape::String;
        }
    } else if (!isLineOrParagraphSeparator(code)) {
        print(code);
    }
}

void ConsoleText::control(char32_t code)
{
    switch (code) {
    case '\r':
        m_column = 0;
        break;
    case '\n':
    case '\v':
    case '\f':
        endLine();
        break;
    case '\b':
        m_column -= m_column > 0 ? 1 : 0;
        break;
    case '\t':
        if (m_column < kMaxColumns) {
            m_column = std::min((m_column / kTabWidth + 1) * kTabWidth, kMaxColumns);
        }
        break;
    case 0x1B:
        m_escape = Escape::Start;
        break;
    default:
        break; // bells and the rest show nothing
    }
}

// Follows the shape of the VT500 parser closely enough to know where each sequence ends; what a
// sequence asks for is not carried out.
void ConsoleText::escape(char32_t code)
{
    if (code == 0x18 || code == 0x1A) {
        m_escape = Escape::None; // CAN and SUB abandon a sequence, a string's too
        return;
    }
    if (m_escape == Escape::StringEnd) {
        // ESC \ ends a string; an escape followed by anything else ends it too and starts anew.
        m_escape = code == '\\' ? Escape::None : Escape::Start;
        if (code != '\\') {
            escape(code);
        }
        return;
    }
    if (m_escape == Escape::String) {
        if (code == 0x07 || code == 0x9C) {
            m_escape = Escape::None;
        } else if (code == 0x1B) {
            m_escape = Escape::StringEnd;
        }
        return;
    }
    if (code == 0x1B) {
        m_escape = Escape::Start;
    } else if (code < 0x20) {
        control(code); // controls inside a sequence still act
    } else if (m_escape == Escape::Start && code == '[') {
        m_escape = Escape::ControlSequence;
    } else if (m_escape == Escape::Start && opensString(code)) {
        m_escape = Escape::String;
    } else if (code >= 0x20 && code <= 0x2F) {
        m_escape = m_escape == Escape::ControlSequence ? m_escape : Escape::Intermediate;
    } else if (m_escape == Escape::ControlSequence && code >= 0x30 && code <= 0x3F) {
        // parameters
    } else if (code != 0x7F) {
        m_escape = Escape::None; // the final character, or one that cannot belong here
    }
}

void ConsoleText::print(char32_t code)
{
    if (m_column >= kMaxColumns) {
        endLine();
    }
    if (m_column < m_line.size()) {
        m_line[m_column] = code;
    } else {
        m_line.resize(m_column, U' ');
        m_line.push_back(code);
    }
    ++m_column;
}

void ConsoleText::endLine()
{
    m_finished.push_back(currentLine());
    if (m_finished.size() > kMaxLines) {
        m_finished.pop_front();
    }
    m_line.clear();
    m_column = 0;
}

void ConsoleText::setEnding(RunEnding ending)
{
    if (m_needed > 0) {
        resetDecoder();
        print(kReplacementCharacter); // the output stopped inside a character
    }
    m_escape = Escape::None;
    m_ending = std::move(ending);
}

void ConsoleText::resetDecoder()
{
    m_needed = 0;
    m_lower = 0x80;
    m_upper = 0xBF;
}

ConsoleText::Update ConsoleText::takeUpdate()
{
    return {takeFinishedLines(), currentLine(), m_ending};
}

std::vector<std::string> ConsoleText::takeFinishedLines()
{
    std::vector<std::string> lines(std::make_move_iterator(m_finished.begin()),
                                   std::make_move_iterator(m_finished.end()));
    m_finished.clear();
    return lines;
}

std::string ConsoleText::currentLine() const
{
    std::string text;
    text.reserve(m_line.size());
    for (const char32_t code : m_line) {
        appendUtf8(text, code);
    }
    return text;
}
