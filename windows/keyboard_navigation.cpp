#include "keyboard_navigation.h"

#include "window_controls.h"

KeyboardNavigation::KeyboardNavigation(HWND window, const WindowControls& controls)
    : m_window(window)
    , m_controls(controls)
{
}

bool KeyboardNavigation::handle(MSG& message)
{
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN &&
        m_controls.isPushButton(message.hwnd)) {
        pressWithReturn(message);
        return true;
    }
    // Tab and Space work as in a dialog. The arrow keys do not: IsDialogMessageW moves the focus by
    // them only in a window that a dialog procedure runs.
    return IsDialogMessageW(m_window, &message) != FALSE;
}

// A dialog presses only its default button on Return, and this window is no dialog; so the button
// that has the focus is clicked, as the mouse clicks it. A held key clicks once: each click may start
// a compiler.
void KeyboardNavigation::pressWithReturn(const MSG& keyDown)
{
    const bool repeated = (keyDown.lParam & (LPARAM{1} << 30)) != 0;
    if (repeated || !IsWindowEnabled(keyDown.hwnd)) {
        return;
    }
    SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(keyDown.hwnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(keyDown.hwnd));
}

// The focus comes back to the control that had it, as it does in a dialog.
void KeyboardNavigation::activated(bool active)
{
    if (!active) {
        m_lastFocus = GetFocus();
        return;
    }
    HWND target = m_lastFocus != nullptr && IsWindowEnabled(m_lastFocus)
                      ? m_lastFocus
                      : GetNextDlgTabItem(m_window, nullptr, FALSE);
    if (target != nullptr) {
        SetFocus(target);
    }
}
