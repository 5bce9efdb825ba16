#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows hands a program one command line and leaves its splitting to the program. These follow
// the rules CommandLineToArgvW and the C runtimes share, so that what one of our programs quotes,
// every parser reads back alike.

// The argument as it must be written for those parsers to read it back whole: bare where it holds
// no blank or quote, else in quotes, with a quote and the backslashes before one escaped.
std::wstring quotedArgument(std::wstring_view argument);

// Reads the next argument off the front of `rest` (blanks before it skipped) and leaves `rest` at
// the character after it. Nullopt when nothing but blanks is left.
std::optional<std::wstring> takeArgument(std::wstring_view& rest);

// The rest of a command line after its first word, the program's name, and the blanks after it. The
// name has simpler rules of its own: up to the closing quote when it starts with one, else up to
// the first blank.
std::wstring_view afterProgramName(std::wstring_view commandLine);
