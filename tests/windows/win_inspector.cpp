// Reads Tarnwick's window from outside, as a user's tools would, for the end-to-end test:
//   win_inspector check-start     every control as the table says, unchecked; exit 1 on a difference
//   win_inspector state           the checked boxes, the disabled controls and the shown path
//   win_inspector place NAME      the screen point at the middle of a control, for xdotool
//   win_inspector focus           the name of the control that has the keyboard focus
//   win_inspector message         the title and text of an open message box, or "none"
//   win_inspector dialog          the title of an open file dialog, or "none"
//   win_inspector panel           the output panel's lines
//   win_inspector close           asks the window to close
// and reads the console hosts of its runs:
//   win_inspector hosts           the process ids of the running console hosts
//   win_inspector console PID     the title of the console process PID runs in, whether it is
//                                 minimized, then its text, a line wrapped at the edge joined again
//   win_inspector colours PID     the attributes of the console's first and last line of text, and
//                                 those it writes in now, in hexadecimal
//   win_inspector interrupt PID   presses Ctrl+C in that console
//   win_inspector folder PID      the current folder of process PID
#include "control_table.h"
#include "screen_scale.h"
#include "wide_text.h"
#include "win32_api.h"
#include "win32_main_window.h"

#include <cstdio>
#include <string>
#include <tlhelp32.h>
#include <winternl.h>

namespace {

// Asked of the window itself: an edit control keeps its text where GetWindowTextW from another
// process does not look.
std::wstring textOf(HWND window)
{
    const auto length = static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

HWND control(HWND main, std::size_t row)
{
    return GetDlgItem(main, Win32MainWindow::kFirstControlId + static_cast<int>(row));
}

HWND controlNamed(HWND main, std::string_view name)
{
    const std::optional<std::size_t> row = rowNamed(name);
    return row ? control(main, *row) : nullptr;
}

std::string nameOf(HWND main, HWND window)
{
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (control(main, row) == window) {
            return std::string(rows[row].name);
        }
    }
    return "(none)";
}

int checkStart(HWND main)
{
    int differences = 0;
    const int dpi = windowDpi(main);
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const ControlRow& expected = rows[row];
        HWND window = control(main, row);
        RECT place{};
        GetWindowRect(window, &place);
        MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&place), 2);
        const bool same = window != nullptr && textOf(window) == toWide(expected.caption) &&
                          (IsWindowEnabled(window) != FALSE) == expected.enabled &&
                          SendMessageW(window, BM_GETCHECK, 0, 0) == BST_UNCHECKED &&
                          place.left == twipsToPixels(expected.left, dpi) &&
                          place.top == twipsToPixels(expected.top, dpi) &&
                          place.right - place.left == twipsToPixels(expected.width, dpi) &&
                          place.bottom - place.top == twipsToPixels(expected.height, dpi);
        if (!same) {
            ++differences;
            std::printf("differs: %s\n", std::string(expected.name).c_str());
        }
    }
    RECT client{};
    GetClientRect(main, &client);
    if (client.right != twipsToPixels(kClientWidthTwips, dpi) ||
        client.bottom != twipsToPixels(kClientHeightTwips, dpi)) {
        ++differences;
        std::printf("differs: client %ldx%ld\n", client.right, client.bottom);
    }
    std::printf("%zu controls, %d differences\n", rows.size(), differences);
    return differences == 0 ? 0 : 1;
}

void state(HWND main)
{
    std::string checked;
    std::string disabled;
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        HWND window = control(main, row);
        const std::string name(rows[row].name);
        if (rows[row].kind == ControlKind::CheckBox &&
            SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED) {
            checked += " " + name;
        }
        if (!IsWindowEnabled(window)) {
            disabled += " " + name;
        }
    }
    std::printf("checked:%s\ndisabled:%s\npath: %s\n", checked.c_str(), disabled.c_str(),
                toUtf8(textOf(controlNamed(main, "txtFileName"))).c_str());
}

int place(HWND main, const std::string& name)
{
    HWND window = controlNamed(main, name);
    RECT box{};
    if (window == nullptr || !GetWindowRect(window, &box)) {
        return 1;
    }
    std::printf("%ld %ld\n", (box.left + box.right) / 2, (box.top + box.bottom) / 2);
    return 0;
}

void focus(HWND main)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    std::printf("%s\n", nameOf(main, info.hwndFocus).c_str());
}

void message()
{
    HWND box = FindWindowW(L"#32770", L"tarnwick");
    if (box == nullptr) {
        std::printf("none\n");
        return;
    }
    // The box's text is its static control (0xFFFF), as MessageBoxW makes it.
    std::printf("%s: %s\n", toUtf8(textOf(box)).c_str(), toUtf8(textOf(GetDlgItem(box, 0xFFFF))).c_str());
}

void dialog()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM result) {
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (std::wstring_view(name) == L"#32770" && IsWindowVisible(window) &&
                textOf(window) != L"tarnwick") {
                *reinterpret_cast<HWND*>(result) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::printf("%s\n", found != nullptr ? toUtf8(textOf(found)).c_str() : "none");
}

void hosts()
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, L"tarnwick-console.exe") == 0) {
            std::printf("%lu\n", entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
}

// The inspector's own output stays where it was: the C runtime keeps the handle it started with.
bool attachToConsoleOf(const wchar_t* pid)
{
    FreeConsole();
    return AttachConsole(static_cast<DWORD>(std::wcstoul(pid, nullptr, 10))) != FALSE;
}

void console()
{
    wchar_t title[4096] = {};
    GetConsoleTitleW(title, 4096);
    std::printf("title: %s\nminimized: %s\n", toUtf8(title).c_str(),
                IsIconic(GetConsoleWindow()) ? "yes" : "no");
    const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO buffer{};
    GetConsoleScreenBufferInfo(screen, &buffer);
    const auto width = static_cast<std::size_t>(buffer.dwSize.X);
    std::wstring text;
    for (SHORT row = 0; row <= buffer.dwCursorPosition.Y; ++row) {
        std::wstring line(width, L' ');
        DWORD got = 0;
        ReadConsoleOutputCharacterW(screen, line.data(), static_cast<DWORD>(width), COORD{0, row}, &got);
        line.erase(line.find_last_not_of(L' ') + 1);
        text += line.size() == width ? line : line + L'\n';
    }
    CloseHandle(screen);
    std::printf("%s", toUtf8(text).c_str());
}

void colours()
{
    const HANDLE screen = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO buffer{};
    GetConsoleScreenBufferInfo(screen, &buffer);
    WORD first = 0;
    WORD last = 0;
    DWORD got = 0;
    const SHORT row =
        buffer.dwCursorPosition.X == 0 ? SHORT(buffer.dwCursorPosition.Y - 1) : buffer.dwCursorPosition.Y;
    ReadConsoleOutputAttribute(screen, &first, 1, COORD{0, 0}, &got);
    ReadConsoleOutputAttribute(screen, &last, 1, COORD{0, row}, &got);
    CloseHandle(screen);
    std::printf("%02X %02X %02X\n", first, last, buffer.wAttributes);
}

// Read from the process's own parameters, where Windows keeps its current folder: the PEB points to
// its RTL_USER_PROCESS_PARAMETERS, which hold it; the places differ between x64 and x86.
int folder(const wchar_t* pid)
{
    using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    constexpr std::uintptr_t kParametersAt = sizeof(void*) == 8 ? 0x20 : 0x10;
    constexpr std::uintptr_t kFolderAt = sizeof(void*) == 8 ? 0x38 : 0x24;
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, std::wcstoul(pid, nullptr, 10));
    PROCESS_BASIC_INFORMATION basic{};
    std::uintptr_t parameters = 0;
    UNICODE_STRING path{};
    const bool read =
        process != nullptr && query != nullptr &&
        query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) == 0 &&
        ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kParametersAt,
                          &parameters, sizeof(parameters), nullptr) &&
        ReadProcessMemory(process, reinterpret_cast<const void*>(parameters + kFolderAt), &path, sizeof(path),
                          nullptr);
    std::wstring text(path.Length / sizeof(wchar_t), L'\0');
    const bool whole = read && ReadProcessMemory(process, path.Buffer, text.data(), path.Length, nullptr);
    CloseHandle(process);
    std::printf("%s\n", whole ? toUtf8(text).c_str() : "unknown");
    return whole ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::string command = argc > 1 ? toUtf8(argv[1]) : "";
    if (command == "hosts") {
        hosts();
        return 0;
    }
    if (command == "folder" && argc > 2) {
        return folder(argv[2]);
    }
    if ((command == "console" || command == "colours" || command == "interrupt") && argc > 2) {
        if (!attachToConsoleOf(argv[2])) {
            std::printf("no console\n");
            return 1;
        }
        // The inspector, now in that console too, lets Ctrl+C pass it by.
        SetConsoleCtrlHandler(nullptr, TRUE);
        if (command == "console") {
            console();
        } else if (command == "colours") {
            colours();
        } else {
            GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
        }
        return 0;
    }
    HWND main = FindWindowW(Win32MainWindow::kClassName, toWide(kWindowTitle).c_str());
    if (command == "message") {
        message();
        return 0;
    }
    if (command == "dialog") {
        dialog();
        return 0;
    }
    if (main == nullptr) {
        std::printf("no window\n");
        return 3;
    }
    if (command == "check-start") {
        return checkStart(main);
    }
    if (command == "state") {
        state(main);
    } else if (command == "place" && argc > 2) {
        return place(main, toUtf8(argv[2]));
    } else if (command == "focus") {
        focus(main);
    } else if (command == "panel") {
        std::printf("%s", toUtf8(textOf(controlNamed(main, "picOut1"))).c_str());
    } else if (command == "close") {
        PostMessageW(main, WM_CLOSE, 0, 0);
    } else {
        std::fprintf(stderr,
                     "usage: win_inspector check-start|state|place NAME|focus|message|dialog|panel|close|"
                     "hosts|console PID|colours PID|interrupt PID|folder PID\n");
        return 2;
    }
    return 0;
}
