// The Windows window in this process: its controls as the table gives them, the mirroring of the
// board through clicks and keys, and captions that fit at three resolutions.
#include "checks.h"
#include "control_table.h"
#include "fake_services.h"
#include "screen_scale.h"
#include "win32_file_dialog.h"
#include "win32_main_window.h"

#include <string_view>
#include <vector>

namespace {

struct Fixture {
    FakeMessageBox messages;
    FakeLauncher launcher;
    FakeFileDialog bsp;
    FakeFileDialog aas;
    Win32MainWindow window{GetModuleHandleW(nullptr)};
    Fixture() { window.serve({messages, launcher, bsp, aas}); }
};

std::wstring textOf(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring classOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::string nameOf(const Win32MainWindow& window, HWND control)
{
    for (const ControlRow& row : controlTable()) {
        if (window.control(row.name) == control) {
            return std::string(row.name);
        }
    }
    return "(none)";
}

// A control's rectangle in the window's client coordinates.
RECT placeOf(const Win32MainWindow& window, HWND control)
{
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool isChecked(const Win32MainWindow& window, std::string_view name)
{
    return SendMessageW(window.control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void click(const Win32MainWindow& window, std::string_view name)
{
    SendMessageW(window.control(name), BM_CLICK, 0, 0);
}

void pressKey(HWND target, WPARAM key)
{
    SendMessageW(target, WM_KEYDOWN, key, 0);
    SendMessageW(target, WM_KEYUP, key, 0);
}

void startState(Checks& checks)
{
    Fixture fixture;
    const Win32MainWindow& window = fixture.window;
    const int dpi = windowDpi(window.handle());
    RECT client{};
    GetClientRect(window.handle(), &client);
    checks.equal(client.right, twipsToPixels(kClientWidthTwips, dpi), "client width");
    checks.equal(client.bottom, twipsToPixels(kClientHeightTwips, dpi), "client height");
    checks.equal(textOf(window.handle()), std::wstring(L"Tarnwick v0.05"), "title");
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window.handle(), GWL_STYLE));
    checks.expect((style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) == 0 &&
                      (style & WS_SYSMENU) != 0,
                  "a fixed border with a close box only");
    checks.expect(GetClassLongPtrW(window.handle(), GCLP_HICON) != 0, "the window has the program's icon");

    for (const ControlRow& row : controlTable()) {
        const std::string name(row.name);
        HWND control = window.control(row.name);
        checks.expect(control != nullptr, name + " exists");
        checks.equal(textOf(control), toWide(row.caption), name + " caption");
        checks.equal(IsWindowEnabled(control) != FALSE, row.enabled, name + " enabled");
        const auto controlStyle = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
        checks.equal((controlStyle & WS_TABSTOP) != 0, !isOffScreen(row), name + " tab stop");
        const std::wstring expectedClass = row.kind == ControlKind::TextBox       ? L"Edit"
                                           : row.kind == ControlKind::OutputPanel ? L"TarnwickOutputPanel"
                                                                                  : L"Button";
        checks.equal(classOf(control), expectedClass, name + " class");
        if (row.kind == ControlKind::CheckBox) {
            checks.equal(controlStyle & BS_TYPEMASK, DWORD(BS_CHECKBOX), name + " is a check box");
            checks.expect(!isChecked(window, row.name), name + " unchecked");
        } else if (row.kind == ControlKind::Button) {
            checks.equal(controlStyle & BS_TYPEMASK, DWORD(BS_PUSHBUTTON), name + " is a push button");
        }
        const RECT place = placeOf(window, control);
        checks.equal(place.left, twipsToPixels(row.left, dpi), name + " left");
        checks.equal(place.top, twipsToPixels(row.top, dpi), name + " top");
        checks.equal(place.right - place.left, twipsToPixels(row.width, dpi), name + " width");
        checks.equal(place.bottom - place.top, twipsToPixels(row.height, dpi), name + " height");
    }
}

void toolTips(Checks& checks)
{
    Fixture fixture;
    HWND tips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM found) {
            wchar_t name[64] = {};
            GetClassNameW(candidate, name, 64);
            if (std::wstring_view(name) == TOOLTIPS_CLASSW) {
                *reinterpret_cast<HWND*>(found) = candidate;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    checks.expect(tips != nullptr, "the window has a tool tip control");
    for (const ControlRow& row : controlTable()) {
        wchar_t text[256] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = fixture.window.handle();
        tool.uId = reinterpret_cast<UINT_PTR>(fixture.window.control(row.name));
        tool.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
        checks.equal(std::wstring(text), toWide(row.toolTip), std::string(row.name) + " tool tip");
    }
}

// Clicks reach the board, and what the board's rules change reaches the controls.
void mirroring(Checks& checks)
{
    Fixture fixture;
    const Win32MainWindow& window = fixture.window;
    fixture.bsp.answers = {"C:\\maps\\dm 1.bsp"};
    fixture.aas.answers = {"C:\\maps\\dm\xc3\xa9.aas"};
    click(window, "Command2");
    checks.equal(textOf(window.control("txtFileName")), std::wstring(L"C:\\maps\\dm 1.bsp"), "path shown");
    click(window, "chkLiquids");
    click(window, "chkOptimiseAas");
    checks.expect(isChecked(window, "chkOptimiseAas") && !isChecked(window, "chkLiquids"),
                  "optimising clears the build option");
    checks.expect(!IsWindowEnabled(window.control("Command2")) &&
                      IsWindowEnabled(window.control("cmdSelectAAS")),
                  "optimising swaps the file buttons");
    click(window, "cmdSelectAAS");
    checks.equal(textOf(window.control("txtFileName")), std::wstring(L"C:\\maps\\dm\u00e9.aas"),
                 "AAS path shown");
    click(window, "chkNoCsg");
    checks.expect(!isChecked(window, "chkNoCsg"), "a build option stays clear while a mode is set");
    click(window, "Check1");
    checks.expect(!isChecked(window, "Check1"), "an inert box takes no click");
    click(window, "chkReach");
    checks.expect(isChecked(window, "chkReach") && !isChecked(window, "chkOptimiseAas") &&
                      IsWindowEnabled(window.control("Command2")) &&
                      !IsWindowEnabled(window.control("cmdSelectAAS")),
                  "reachability ends optimising");
    checks.equal(textOf(window.control("txtFileName")), std::wstring(L"C:\\maps\\dm 1.bsp"), "BSP path back");

    click(window, "cmdProcess");
    checks.equal(fixture.launcher.launches.size(), std::size_t(1), "one launch");
    checks.equal(window.outputPanel().lines().back(), std::wstring(L"BSPC -reach \"C:\\maps\\dm 1.bsp\""),
                 "the printed line");
    click(window, "Command3");
    click(window, "Command4");
    checks.equal(textOf(window.outputPanel().handle()),
                 std::wstring(L"BSPC -reach \"C:\\maps\\dm 1.bsp\"\r\nC:\\maps\\dm 1.bsp\r\n.bsp\r\n"
                              L"BSPC -reach \"C:\\maps\\dm 1.bsp\"\r\n"),
                 "the panel's lines, as a tool reads them");
    fixture.bsp.answers = {"C:\\maps\\readme.txt"};
    click(window, "Command2");
    click(window, "cmdProcess");
    checks.equal(fixture.messages.shown.size(), std::size_t(1), "one message");
    checks.equal(fixture.messages.shown.back(), std::string("You have not selected a valid .BSP"), "message");
}

// The path box shows a long path's end, the file's name, and a shorter one from its start.
void pathBox(Checks& checks)
{
    Fixture fixture;
    HWND box = fixture.window.control("txtFileName");
    RECT room{};
    GetClientRect(box, &room);
    const auto shows = [&](std::size_t index) {
        const auto x = static_cast<short>(LOWORD(SendMessageW(box, EM_POSFROMCHAR, index, 0)));
        return x >= 0 && x < room.right;
    };
    const std::string deep = "C:\\Quake3\\baseq3\\maps\\work in progress\\older versions\\";
    for (const auto& [path, startShown] :
         {std::pair{deep + deep + "dm 1.bsp", false}, {std::string("C:\\maps\\dm 1.bsp"), true}}) {
        fixture.bsp.answers = {path};
        click(fixture.window, "Command2");
        checks.expect(shows(path.size() - 1) && shows(0) == startShown, path + ": the shown part");
    }
}

// A dialog that cannot open says why, and keeps its file name as a cancel does.
void dialogFailures(Checks& checks)
{
    const std::pair<const wchar_t*, std::string> cases[] = {
        {L"tarnwick-missing.dll", "The file dialog could not be opened (error 0x7E)."},
        {L"kernel32.dll", "The file dialog could not be opened (error 0x7F)."}};
    for (const auto& [library, message] : cases) {
        FakeMessageBox messages;
        Win32FileDialog dialog(nullptr, messages, L"", L"", library);
        checks.equal(dialog.chooseFile(), std::string(), message + " keeps the file name");
        checks.expect(messages.shown == std::vector{message}, message + " shown");
    }
}

// Tab walks the table's order past disabled and off-screen controls; Space toggles a box.
void keyboard(Checks& checks)
{
    Fixture fixture;
    const Win32MainWindow& window = fixture.window;
    ShowWindow(window.handle(), SW_SHOWNORMAL);
    SetFocus(window.control("Command2"));
    const std::vector<std::string> expected{
        "cmdProcess", "chkProcessors", "chkOutput",       "chkBrushMerge",  "chkLiquids",  "chkFreeTree",
        "chkNoCsg",   "chkReach",      "chkConvertToMap", "chkOptimiseAas", "txtFileName", "Command2"};
    for (const std::string& next : expected) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        IsDialogMessageW(window.handle(), &tab);
        checks.equal(nameOf(window, GetFocus()), next, "Tab moves to");
    }
    SetFocus(window.control("chkProcessors"));
    pressKey(GetFocus(), VK_SPACE);
    checks.expect(isChecked(window, "chkProcessors") && window.board().value(Box::chkProcessors) == 1,
                  "Space checks the focused box");
}

// At each DPI every caption fits the control it is on, in the font that control was given, and ends
// inside the client area where a control reaches past it; that font is the system's message font
// unless a smaller one was needed.
void captionsFitIn(Checks& checks, const std::string& face)
{
    Fixture fixture;
    const Win32MainWindow& window = fixture.window;
    for (const int dpi : {96, 144, 192}) {
        fixture.window.applyDpi(dpi);
        RECT client{};
        GetClientRect(window.handle(), &client);
        const LONG messageHeight = messageFont(dpi).lfHeight;
        for (const ControlRow& row : controlTable()) {
            HWND control = fixture.window.control(row.name);
            const std::string where =
                std::string(row.name) + " at " + std::to_string(dpi) + " dpi in " + face;
            const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            LOGFONTW used{};
            GetObjectW(font, sizeof(used), &used);
            checks.expect(used.lfHeight >= messageHeight && used.lfHeight <= -MulDiv(6, dpi, 72),
                          where + ": the message font or a legible smaller one");
            if (row.caption.empty()) {
                continue;
            }
            RECT room{};
            GetClientRect(control, &room);
            HDC context = GetDC(control);
            const HGDIOBJ previous = SelectObject(context, font);
            const std::wstring caption = toWide(row.caption);
            const bool checkBox = row.kind == ControlKind::CheckBox;
            const int margin = checkBox ? MulDiv(16, dpi, 96) : MulDiv(6, dpi, 96);
            RECT text{0, 0, room.right - margin, 0};
            const UINT wrap = checkBox ? DT_SINGLELINE : DT_WORDBREAK;
            const int available = text.right;
            DrawTextW(context, caption.c_str(), -1, &text, DT_CALCRECT | wrap);
            SelectObject(context, previous);
            ReleaseDC(control, context);
            checks.expect(text.right <= available && text.bottom <= room.bottom,
                          where + ": " + std::to_string(text.right) + "x" + std::to_string(text.bottom) +
                              " in " + std::to_string(available) + "x" + std::to_string(room.bottom));
            // A check box's caption follows its mark; a button centres its caption.
            const RECT place = placeOf(window, control);
            const LONG end =
                checkBox ? place.left + margin + text.right : (place.left + place.right + text.right + 1) / 2;
            checks.expect(isOffScreen(row) || end <= client.right,
                          where + ": ends at " + std::to_string(end) + " of " + std::to_string(client.right));
        }
    }
}

// Windows' message font, Segoe UI 9 pt, is wider than Wine's Tahoma 8 pt, so the captions are measured
// in both (without Segoe UI, Wine takes a sans serif of the host's).
void captionsFit(Checks& checks)
{
    NONCLIENTMETRICSW wine{};
    wine.cbSize = sizeof(wine);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(wine), &wine, 0);
    NONCLIENTMETRICSW windows = wine;
    lstrcpynW(windows.lfMessageFont.lfFaceName, L"Segoe UI", LF_FACESIZE);
    windows.lfMessageFont.lfHeight = -12;
    for (NONCLIENTMETRICSW metrics : {windows, wine}) { // Wine's last, so that it stays set
        SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        captionsFitIn(checks, toUtf8(metrics.lfMessageFont.lfFaceName));
    }
}

} // namespace

int wmain()
{
    Checks checks;
    startState(checks);
    toolTips(checks);
    mirroring(checks);
    pathBox(checks);
    dialogFailures(checks);
    keyboard(checks);
    captionsFit(checks);
    return checks.exitStatus();
}
