#include "win32_file_dialog.h"

#include "message_box.h"
#include "system_function.h"
#include "wide_text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Room for the longest path Windows knows, so that no deep map folder is cut short.
constexpr DWORD kLongestPath = 32768;

const wchar_t* orNull(const std::wstring& text)
{
    return text.empty() ? nullptr : text.c_str();
}

std::string failureMessage(DWORD error)
{
    char text[80];
    std::snprintf(text, sizeof(text), "The file dialog could not be opened (error 0x%lX).",
                  static_cast<unsigned long>(error));
    return text;
}

} // namespace

Win32FileDialog::Win32FileDialog(HWND owner, MessageBox& messages, std::wstring title,
                                 std::wstring initialDirectory, std::wstring library)
    : m_owner(owner)
    , m_messages(messages)
    , m_title(std::move(title))
    , m_initialDirectory(std::move(initialDirectory))
    , m_libraryName(std::move(library))
{
}

std::string Win32FileDialog::chooseFile()
{
    const GetOpenFileNameFunction getOpenFileName = loadDialog();
    if (getOpenFileName == nullptr) {
        m_messages.showMessage(failureMessage(GetLastError()));
        return m_fileName;
    }
    std::vector<wchar_t> buffer(kLongestPath, L'\0');
    const std::wstring current = toWide(m_fileName);
    current.copy(buffer.data(), std::min<std::size_t>(current.size(), buffer.size() - 1));
    OPENFILENAMEW dialog = description(buffer);
    if (getOpenFileName(&dialog)) {
        m_fileName = toUtf8(buffer.data());
    } else if (const DWORD error = dialogError(); error != 0) {
        m_messages.showMessage(failureMessage(error));
    }
    return m_fileName;
}

// COMDLG32 is loaded when a dialog first opens, not at start: under Wine, loading it at start cost
// tens of milliseconds. It is never freed: the shell extensions a dialog loads stay in the process and
// may still call into it after the dialog closed, and freeing it under them crashes the program.
Win32FileDialog::GetOpenFileNameFunction Win32FileDialog::loadDialog()
{
    if (m_library == nullptr) {
        m_library = LoadLibraryW(m_libraryName.c_str());
    }
    return systemFunction<GetOpenFileNameFunction>(m_library, "GetOpenFileNameW");
}

OPENFILENAMEW Win32FileDialog::description(std::vector<wchar_t>& fileName) const
{
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_owner;
    dialog.lpstrFile = fileName.data();
    dialog.nMaxFile = static_cast<DWORD>(fileName.size());
    dialog.lpstrTitle = orNull(m_title);
    dialog.lpstrInitialDir = orNull(m_initialDirectory);
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return dialog;
}

// Why the last dialog returned without a file: zero when the user cancelled it, else a code of the
// dialog's own for why it could not open.
DWORD Win32FileDialog::dialogError() const
{
    using ExtendedErrorFunction = DWORD(WINAPI*)();
    const auto extendedError = systemFunction<ExtendedErrorFunction>(m_library, "CommDlgExtendedError");
    return extendedError != nullptr ? extendedError() : 0;
}
