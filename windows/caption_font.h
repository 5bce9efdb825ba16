#pragma once

#include "owned_handle.h"
#include "win32_api.h"

using OwnedFont = OwnedHandle<HFONT, &DeleteObject>;

// The font the window's controls use at a DPI: the system's message font, or where some caption
// of the table would not fit the part of its control the window shows, the largest smaller size at
// which every one fits.
// The layout was drawn for a narrower font than today's systems use; a clipped caption would hide
// what an option does.
LOGFONTW captionFont(int dpi);

// Room a check box leaves for its caption, and a push button's frame, in pixels at a DPI.
int checkMarkWidth(int dpi);
int buttonFrame(int dpi);
