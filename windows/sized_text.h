#pragma once

#include "win32_api.h"

#include <optional>
#include <string>

// Text from a Win32 call that is asked twice: once for the room its answer needs, counting the
// closing NUL, then for the answer, whose length it returns without the NUL. Nullopt where the
// call fails, or where the answer grew between the two calls and no longer fits.
template <typename Call> std::optional<std::wstring> sizedText(Call call)
{
    const DWORD size = call(nullptr, 0);
    if (size == 0) {
        return std::nullopt;
    }
    std::wstring text(size, L'\0');
    const DWORD got = call(text.data(), size);
    if (got == 0 || got >= size) {
        return std::nullopt;
    }
    text.resize(got);
    return text;
}
