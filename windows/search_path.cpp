#include "search_path.h"

std::vector<std::wstring> splitSearchPath(std::wstring_view path)
{
    std::vector<std::wstring> folders;
    std::wstring folder;
    bool quoted = false;
    for (const wchar_t character : path) {
        if (character == L'"') {
            quoted = !quoted;
        } else if (character == L';' && !quoted) {
            if (!folder.empty()) {
                folders.push_back(std::move(folder));
            }
            folder.clear();
        } else {
            folder += character;
        }
    }
    if (!folder.empty()) {
        folders.push_back(std::move(folder));
    }
    return folders;
}
