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

// DLLs loaded while a program of ours runs (a file dialog's, and what they load in turn) come from
// the system folder only: a DLL of the same name in the program's folder or the current directory, say
// a download folder, is never loaded in their place. Windows 7 has the function only with a later
// update, so it is looked up; without it the program runs on with the system's usual search.
inline void loadLibrariesFromSystemOnly()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = systemFunction<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr) {
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}
