#pragma once

#include "caption_font.h"
#include "win32_api.h"

class WindowControls;

// The window's size, its controls' places and their font at a DPI: the table's twips scaled to the
// monitor. The font in use is kept until every control has the next one.
class WindowLayout {
public:
    // A fixed single border with a close box only: the window can neither be resized nor maximized.
    static constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

    void apply(HWND window, const WindowControls& controls, int dpi);

private:
    OwnedFont m_font;
};
