#include "compile_request.h"
#include "system_function.h"
#include "win32_file_dialog.h"
#include "win32_launcher.h"
#include "win32_main_window.h"
#include "win32_message_box.h"

// The program takes no arguments: its command line is never looked at. Its services are made here,
// after the window they are owned by; the window ends its session, which calls them, once it has
// closed, before they go.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    loadLibrariesFromSystemOnly();
    Win32MainWindow window(instance);
    Win32MessageBox messages(window.handle());
    // A host's answer that comes once the window has closed is left to the host to show.
    Win32Launcher launcher([&] {
        if (!IsWindow(window.handle())) {
            return false;
        }
        reportCannotStart(messages);
        return true;
    });
    Win32FileDialog bspDialog(window.handle(), messages, L"Select Quake3 BSP", L"c:\\Quake3");
    Win32FileDialog aasDialog(window.handle(), messages, L"", L"");
    window.serve({messages, launcher, bspDialog, aasDialog});
    return window.run(showCommand);
}
