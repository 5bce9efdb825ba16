#include "system_function.h"
#include "win32_main_window.h"

namespace {

// DLLs loaded while the program runs (the file dialog's, and what they load in turn) come from the
// system folder only: a DLL of the same name in the program's folder or the current directory, say a
// download folder, is never loaded in their place. Windows 7 has the function only with a later
// update, so it is looked up; without it the program runs on with the system's usual search.
void loadLibrariesFromSystemOnly()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = systemFunction<SetDefaultDllDirectoriesFunction>(
        GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    if (setDefaultDllDirectories != nullptr) {
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
}

} // namespace

// The program takes no arguments: its command line is never looked at.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    loadLibrariesFromSystemOnly();
    Win32MainWindow window(instance);
    return window.run(showCommand);
}
