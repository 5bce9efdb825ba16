#pragma once

// The size the program's terminal reports, and the console window's size in characters: the size
// of the console window a compiler gets on its home platform.
inline constexpr unsigned short kTerminalColumns = 80;
inline constexpr unsigned short kTerminalRows = 25;
