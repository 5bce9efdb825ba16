#include "system_function.h"
#include "win32_main_window.h"

// The program takes no arguments: its command line is never looked at.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    loadLibrariesFromSystemOnly();
    Win32MainWindow window(instance);
    return window.run(showCommand);
}
