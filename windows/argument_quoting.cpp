#include "argument_quoting.h"

namespace {

bool isBlank(wchar_t character)
{
    return character == L' ' || character == L'\t';
}

void skipBlanks(std::wstring_view& rest)
{
    while (!rest.empty() && isBlank(rest.front())) {
        rest.remove_prefix(1);
    }
}

} // namespace

std::wstring quotedArgument(std::wstring_view argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
        return std::wstring(argument);
    }
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t character : argument) {
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(character == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += character;
    }
    out.append(backslashes * 2, L'\\');
    return out + L'"';
}

// Backslashes count only before a quote: 2n of them and a quote are n and a quote that opens or
// closes; 2n+1 of them and a quote are n and a quote of the argument's own.
std::optional<std::wstring> takeArgument(std::wstring_view& rest)
{
    skipBlanks(rest);
    if (rest.empty()) {
        return std::nullopt;
    }
    std::wstring argument;
    bool quoted = false;
    std::size_t backslashes = 0;
    for (; !rest.empty() && (quoted || !isBlank(rest.front())); rest.remove_prefix(1)) {
        const wchar_t character = rest.front();
        if (character == L'\\') {
            ++backslashes;
            continue;
        }
        if (character != L'"') {
            argument.append(backslashes, L'\\') += character;
        } else {
            argument.append(backslashes / 2, L'\\');
            if (backslashes % 2 == 1) {
                argument += L'"';
            } else {
                quoted = !quoted;
            }
        }
        backslashes = 0;
    }
    argument.append(backslashes, L'\\');
    return argument;
}

std::wstring_view afterProgramName(std::wstring_view commandLine)
{
    std::size_t end = 0;
    if (commandLine.starts_with(L'"')) {
        end = commandLine.find(L'"', 1);
        end = end == std::wstring_view::npos ? commandLine.size() : end + 1;
    } else {
        while (end < commandLine.size() && !isBlank(commandLine[end])) {
            ++end;
        }
    }
    commandLine.remove_prefix(end);
    skipBlanks(commandLine);
    return commandLine;
}
