#pragma once

#include "win32_api.h"

class WindowControls;

// The window's keyboard, as in a dialog: Tab and Space, Return on a focused push button, and the
// focus given back to the control that had it when the window is active again.
class KeyboardNavigation {
public:
    KeyboardNavigation(HWND window, const WindowControls& controls);

    // Gives a message of the loop to the keyboard first; false when it is still to dispatch.
    bool handle(MSG& message);
    void activated(bool active);

private:
    void pressWithReturn(const MSG& keyDown);

    HWND m_window;
    const WindowControls& m_controls;
    HWND m_lastFocus = nullptr;
};
