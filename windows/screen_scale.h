#pragma once

#include "win32_api.h"

// The window's measures at a screen's resolution. The layout is drawn in twips, so it keeps its
// proportions at any DPI. Functions that only newer Windows has are looked up when called, so the
// program still starts on older versions, at the system's DPI.

inline constexpr int kTwipsPerInch = 1440;

inline int twipsToPixels(int twips, int dpi)
{
    return MulDiv(twips, dpi, kTwipsPerInch);
}

// The DPI of the monitor the window is on.
int windowDpi(HWND window);

// The outer size of a window with this style whose client area is `client` at the DPI.
SIZE windowSizeForClient(SIZE client, DWORD style, DWORD extendedStyle, int dpi);

// The system's message font, the one dialogs use, at the DPI.
LOGFONTW messageFont(int dpi);
