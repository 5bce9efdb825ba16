#include "system_function.h"
#include "win32_file_dialog.h"
#include "win32_launcher.h"
#include "win32_main_window.h"
#include "win32_message_box.h"

// The program takes no arguments: its command line is never looked at. Its services are made here,
// owned by the window where they show something of their own, and live as long as the window.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    loadLibrariesFromSystemOnly();
    Win32MainWindow window(instance);
    Win32MessageBox messages(window.handle());
    Win32Launcher launcher(&messages);
    Win32FileDialog bspDialog(window.handle(), messages, L"Select Quake3 BSP", L"c:\\Quake3");
    Win32FileDialog aasDialog(window.handle(), messages, L"", L"");
    window.serve({messages, launcher, bspDialog, aasDialog});
    return window.run(showCommand);
}
