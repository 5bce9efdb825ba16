#include "ansi_command_line.h"

#include "win32_api.h"

#include <algorithm>
#include <string>

namespace {

// Windows refuses best-fit flags and the used-default report for a UTF-8 code page, where the only
// loss is a lone surrogate, which WC_ERR_INVALID_CHARS reports instead.
std::optional<std::string> toAnsi(std::wstring_view text)
{
    const bool utf8 = GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const reportDefault = utf8 ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr, reportDefault);
    if (size <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, flags, text.data(), length, ansi.data(), size, nullptr, reportDefault);
    return usedDefault ? std::nullopt : std::optional(ansi);
}

std::wstring fromAnsi(const std::string& ansi)
{
    const int length = static_cast<int>(ansi.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), size);
    return wide;
}

std::optional<std::wstring> shortPathOf(const std::wstring& path)
{
    const DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::wstring shortPath(size, L'\0');
    shortPath.resize(GetShortPathNameW(path.c_str(), shortPath.data(), size));
    return shortPath.empty() ? std::nullopt : std::optional(shortPath);
}

// The short name of the last folder or file on a path, as the volume keeps it.
std::optional<std::wstring> shortNameOf(const std::wstring& path)
{
    const std::optional<std::wstring> shortPath = shortPathOf(path);
    if (!shortPath) {
        return std::nullopt;
    }
    const std::size_t separator = shortPath->find_last_of(L"\\/");
    return separator == std::wstring::npos ? *shortPath : shortPath->substr(separator + 1);
}

// Each folder on the path whose name does not survive is given by its short name; the others keep
// theirs, so that the line the user reads stays as close to the path chosen as it can.
std::optional<std::wstring> survivingFolder(const std::wstring& folder)
{
    std::wstring surviving;
    for (std::size_t begin = 0; begin <= folder.size();) {
        const std::size_t end = std::min(folder.find_first_of(L"\\/", begin), folder.size());
        std::optional<std::wstring> name = folder.substr(begin, end - begin);
        if (!survivesAnsiCodePage(*name)) {
            name = shortNameOf(folder.substr(0, end));
            if (!name || !survivesAnsiCodePage(*name)) {
                return std::nullopt;
            }
        }
        surviving += *name;
        if (end < folder.size()) {
            surviving += folder[end];
        }
        begin = end + 1;
    }
    return surviving;
}

} // namespace

bool survivesAnsiCodePage(std::wstring_view text)
{
    if (text.empty()) {
        return true;
    }
    const std::optional<std::string> ansi = toAnsi(text);
    return ansi && fromAnsi(*ansi) == text;
}

std::optional<std::wstring> survivingNameOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator == 0) {
        return std::nullopt;
    }
    const std::wstring fileName = path.substr(separator);
    if (!survivesAnsiCodePage(fileName) || GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    const std::optional<std::wstring> folder = survivingFolder(path.substr(0, separator));
    return folder ? std::optional(*folder + fileName) : std::nullopt;
}
