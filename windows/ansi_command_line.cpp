#include "ansi_command_line.h"

#include "sized_text.h"
#include "win32_api.h"

#include <algorithm>
#include <string>

namespace {

// Windows refuses best-fit flags and the used-default report for the Unicode code pages, where
// the only loss is a lone surrogate, which WC_ERR_INVALID_CHARS reports instead.
bool isUnicode(UINT codePage)
{
    return codePage == CP_UTF8 || codePage == 54936;
}

std::optional<std::string> toCodePage(std::wstring_view text, UINT codePage)
{
    const DWORD flags = isUnicode(codePage) ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* const reportDefault = isUnicode(codePage) ? nullptr : &usedDefault;
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr, reportDefault);
    if (size <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const int written =
        WideCharToMultiByte(codePage, flags, text.data(), length, bytes.data(), size, nullptr, reportDefault);
    return written == size && !usedDefault ? std::optional(bytes) : std::nullopt;
}

std::wstring fromCodePage(const std::string& bytes, UINT codePage)
{
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), size);
    return wide;
}

// A double-byte code page may end a letter in the byte of `\`, which a C runtime reading byte by
// byte takes for a path separator, or for an escape before a quote.
bool hasBackslashTrailByte(const std::string& bytes, UINT codePage)
{
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[at]))) {
            if (at + 1 < bytes.size() && bytes[at + 1] == '\\') {
                return true;
            }
            ++at;
        }
    }
    return false;
}

std::optional<std::wstring> shortPathOf(const std::wstring& path)
{
    return sizedText(
        [&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(path.c_str(), buffer, size); });
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

} // namespace

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

bool survivesCodePage(std::wstring_view text, unsigned codePage)
{
    if (text.empty()) {
        return true;
    }
    const std::optional<std::string> bytes = toCodePage(text, codePage);
    return bytes && fromCodePage(*bytes, codePage) == text && !hasBackslashTrailByte(*bytes, codePage);
}

// The compiler's ANSI code page is ours as long as neither program's manifest sets another.
bool survivesAnsiCodePage(std::wstring_view text)
{
    return survivesCodePage(text, GetACP());
}

std::optional<std::wstring> survivingNameOf(const std::wstring& path)
{
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator == 0) {
        return std::nullopt;
    }
    const std::wstring fileName = path.substr(separator);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (!survivesAnsiCodePage(fileName) || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    const std::optional<std::wstring> folder = survivingFolder(path.substr(0, separator));
    return folder ? std::optional(*folder + fileName) : std::nullopt;
}
