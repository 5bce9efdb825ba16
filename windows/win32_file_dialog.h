#pragma once

#include "file_dialog.h"
#include "win32_api.h"

#include <string>
#include <vector>

class MessageBox;

// The common open-file dialog, all files shown, existing files only. It opens on the file chosen
// last, and a cancel keeps that file. It asks not to change the working directory, though
// Windows may not honour that; the launcher does not depend on it. A dialog that cannot open says so in a
// message, with the error's code, and then counts as a cancel.
class Win32FileDialog : public FileDialog {
public:
    // An empty title or directory leaves the system's default. The library is the one that holds
    // the dialog; tests name one that is missing.
    Win32FileDialog(HWND owner, MessageBox& messages, std::wstring title, std::wstring initialDirectory,
                    std::wstring library = L"comdlg32.dll");

    std::string chooseFile() override;
    std::string fileName() const override { return m_fileName; }

private:
    using GetOpenFileNameFunction = BOOL(WINAPI*)(OPENFILENAMEW*);

    GetOpenFileNameFunction loadDialog();
    OPENFILENAMEW description(std::vector<wchar_t>& fileName) const;
    DWORD dialogError() const;

    HWND m_owner;
    MessageBox& m_messages;
    std::wstring m_title;
    std::wstring m_initialDirectory;
    std::wstring m_libraryName;
    HMODULE m_library = nullptr;
    std::string m_fileName;
};
