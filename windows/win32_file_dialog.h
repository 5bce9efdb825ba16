#pragma once

#include "file_dialog.h"
#include "win32_api.h"

#include <string>

// The common open-file dialog, all files shown, existing files only. It opens on the file chosen
// last, and a cancel keeps that file. It never changes the working directory: that is where the
// compiler is looked for.
class Win32FileDialog : public FileDialog {
public:
    // An empty title or directory leaves the system's default.
    Win32FileDialog(HWND owner, std::wstring title, std::wstring initialDirectory);

    std::string chooseFile() override;
    std::string fileName() const override { return m_fileName; }

private:
    HWND m_owner;
    std::wstring m_title;
    std::wstring m_initialDirectory;
    std::string m_fileName;
};
