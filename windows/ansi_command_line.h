#pragma once

#include <optional>
#include <string>
#include <string_view>

// The compiler is a C program: its runtime reads the command line that Windows converts into the
// ANSI code page, where a letter the code page lacks becomes a look-alike ("best fit") or `?`. A
// fullwidth quotation mark turns into a real one and ends the path early, `ｍａｐ.bsp` names
// `map.bsp`, and `?` is a wildcard to it. Only text that survives the conversion may reach it.

// Whether the text converts into the ANSI code page and back unchanged, with no letter replaced
// and, in a double-byte code page, no letter ending in the byte of a backslash.
bool survivesAnsiCodePage(std::wstring_view text);
bool survivesCodePage(std::wstring_view text, unsigned codePage);

// The folder by a name that survives the conversion: each folder on its path whose name does not
// is given by its short (8.3) name. Nullopt where one has no short name.
std::optional<std::wstring> survivingFolder(const std::wstring& folder);

// A name of the existing file at `path` that survives the conversion: the short (8.3) name of each
// folder that needs one, and the file's own name, which must survive as it is: the compiler names
// what it writes after it, and a short file name would put the .aas under another name than the
// map's. Nullopt when there is no such name, or the volume keeps no short names.
std::optional<std::wstring> survivingNameOf(const std::wstring& path);
