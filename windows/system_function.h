#pragma once

#include "win32_api.h"

// A function looked up by name in a loaded module, or null where the module or the function is
// missing (older Windows, or a DLL loaded only when needed).
template <typename Function> Function systemFunction(HMODULE module, const char* name)
{
    const FARPROC found = module ? GetProcAddress(module, name) : nullptr;
    // Through void(*)(), which every function pointer type may be cast to and from.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
