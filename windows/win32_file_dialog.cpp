#include "win32_file_dialog.h"

#include "owned_handle.h"
#include "system_function.h"
#include "wide_text.h"

#include <vector>

namespace {

// Room for the longest path Windows knows, so that no deep map folder is cut short.
constexpr DWORD kLongestPath = 32768;

const wchar_t* orNull(const std::wstring& text)
{
    return text.empty() ? nullptr : text.c_str();
}

// COMDLG32 is loaded when a dialog opens, not at start: under Wine, loading it at start cost
// tens of milliseconds. It is a known DLL, always taken from the system folder.
using ComDlgLibrary = OwnedHandle<HMODULE, FreeLibrary>;
using GetOpenFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

} // namespace

Win32FileDialog::Win32FileDialog(HWND owner, std::wstring title, std::wstring initialDirectory)
    : m_owner(owner)
    , m_title(std::move(title))
    , m_initialDirectory(std::move(initialDirectory))
{
}

std::string Win32FileDialog::chooseFile()
{
    std::vector<wchar_t> buffer(kLongestPath, L'\0');
    const std::wstring current = toWide(m_fileName);
    current.copy(buffer.data(), std::min<std::size_t>(current.size(), buffer.size() - 1));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_owner;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = kLongestPath;
    dialog.lpstrTitle = orNull(m_title);
    dialog.lpstrInitialDir = orNull(m_initialDirectory);
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    const ComDlgLibrary library(LoadLibraryW(L"comdlg32.dll"));
    const GetOpenFileNameFunction getOpenFileName =
        systemFunction<GetOpenFileNameFunction>(library.get(), "GetOpenFileNameW");
    if (getOpenFileName && getOpenFileName(&dialog)) {
        m_fileName = toUtf8(buffer.data());
    }
    return m_fileName;
}
