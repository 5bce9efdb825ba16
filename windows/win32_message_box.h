#pragma once

#include "message_box.h"
#include "win32_api.h"

// The system's message box, titled with the application's name and owned by the main window, so
// that the window takes no clicks until the box is dismissed.
class Win32MessageBox : public MessageBox {
public:
    explicit Win32MessageBox(HWND owner)
        : m_owner(owner)
    {
    }

    void showMessage(const std::string& text) override;

private:
    HWND m_owner;
};
