#pragma once

#include <string>

// A modal open-file chooser of existing files that keeps its file name between openings,
// initially empty. After a pick it holds the file's full path; a cancel keeps what it held.
class FileDialog {
public:
    virtual ~FileDialog() = default;
    // Shows the dialog, waits until the user closes it, and returns the file name it then holds.
    virtual std::string chooseFile() = 0;
    virtual std::string fileName() const = 0;

protected:
    FileDialog() = default;
    FileDialog(const FileDialog&) = default;
    FileDialog& operator=(const FileDialog&) = default;
};
