#include "win32_message_box.h"

#include "wide_text.h"

void Win32MessageBox::showMessage(const std::string& text)
{
    MessageBoxW(m_owner, toWide(text).c_str(), L"tarnwick", MB_OK);
}
