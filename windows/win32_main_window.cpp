#include "win32_main_window.h"

#include "caption_font.h"
#include "screen_scale.h"
#include "wide_text.h"
#include "win32_file_dialog.h"
#include "win32_launcher.h"
#include "win32_message_box.h"

namespace {

constexpr int kIconResource = 1;
// A fixed single border with a close box only: the window can neither be resized nor maximized.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

const wchar_t* windowClassOf(ControlKind kind)
{
    return kind == ControlKind::TextBox ? L"EDIT" : L"BUTTON";
}

DWORD styleOf(const ControlRow& row)
{
    DWORD style = WS_CHILD | WS_VISIBLE;
    if (!isOffScreen(row)) {
        style |= WS_TABSTOP;
    }
    if (!row.enabled) {
        style |= WS_DISABLED;
    }
    switch (row.kind) {
    case ControlKind::Button:
        return style | BS_PUSHBUTTON | BS_MULTILINE;
    case ControlKind::CheckBox:
        // Not an automatic box: the board alone sets the mark, so a click a rule undoes never shows.
        return style | BS_CHECKBOX;
    case ControlKind::TextBox:
        // Read-only: nothing ever reads what is typed here, so typing would only mislead.
        return style | ES_READONLY | ES_AUTOHSCROLL;
    case ControlKind::OutputPanel:
        return style;
    }
    return style;
}

HICON loadIcon(HINSTANCE instance, int sizeMetric)
{
    const int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void registerWindowClass(HINSTANCE instance, WNDPROC procedure)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = loadIcon(instance, SM_CXICON);
    windowClass.hIconSm = loadIcon(instance, SM_CXSMICON);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = Win32MainWindow::kClassName;
    RegisterClassExW(&windowClass); // fails harmlessly when a second window registers it again
}

HMENU controlMenu(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

} // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance)
    : Win32MainWindow(instance, Services{})
{
}

Win32MainWindow::Win32MainWindow(HINSTANCE instance, Services services)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    registerWindowClass(instance, &Win32MainWindow::windowProcedure);
    m_window = CreateWindowExW(0, kClassName, toWide(kWindowTitle).c_str(), kStyle, CW_USEDEFAULT,
                               CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    createControls(instance);
    createToolTips(instance);
    m_session =
        std::make_unique<WindowSession>(static_cast<ControlSurface&>(*this), createServices(services));
    applyDpi(windowDpi(m_window));
}

Win32MainWindow::~Win32MainWindow()
{
    if (IsWindow(m_window)) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

HWND Win32MainWindow::control(std::string_view name) const
{
    const std::optional<std::size_t> row = rowNamed(name);
    return row ? m_controls[*row] : nullptr;
}

void Win32MainWindow::createControls(HINSTANCE instance)
{
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        m_controls.push_back(createControl(instance, rows[row], kFirstControlId + static_cast<int>(row)));
    }
}

HWND Win32MainWindow::createControl(HINSTANCE instance, const ControlRow& row, int id)
{
    if (row.kind == ControlKind::OutputPanel) {
        m_panel = std::make_unique<OutputPanelWindow>(m_window, id);
        return m_panel->handle();
    }
    const DWORD extendedStyle = row.kind == ControlKind::TextBox ? WS_EX_CLIENTEDGE : 0;
    HWND control = CreateWindowExW(extendedStyle, windowClassOf(row.kind), toWide(row.caption).c_str(),
                                   styleOf(row), 0, 0, 0, 0, m_window, controlMenu(id), instance, nullptr);
    return control;
}

void Win32MainWindow::createToolTips(HINSTANCE instance)
{
    HWND toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, instance, nullptr);
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].toolTip.empty()) {
            continue;
        }
        std::wstring text = toWide(rows[row].toolTip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_window;
        tool.uId = reinterpret_cast<UINT_PTR>(m_controls[row]);
        tool.lpszText = text.data();
        SendMessageW(toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

WindowServices Win32MainWindow::createServices(Services services)
{
    if (services.messages == nullptr) {
        m_ownedMessages = std::make_unique<Win32MessageBox>(m_window);
        services.messages = m_ownedMessages.get();
    }
    if (services.launcher == nullptr) {
        m_ownedLauncher = std::make_unique<Win32Launcher>(services.messages);
        services.launcher = m_ownedLauncher.get();
    }
    if (services.bspDialog == nullptr) {
        m_ownedBspDialog = std::make_unique<Win32FileDialog>(m_window, *services.messages,
                                                             L"Select Quake3 BSP", L"c:\\Quake3");
        services.bspDialog = m_ownedBspDialog.get();
    }
    if (services.aasDialog == nullptr) {
        m_ownedAasDialog = std::make_unique<Win32FileDialog>(m_window, *services.messages, L"", L"");
        services.aasDialog = m_ownedAasDialog.get();
    }
    return {*services.messages, *m_panel, *services.launcher, *services.bspDialog, *services.aasDialog};
}

void Win32MainWindow::applyDpi(int dpi)
{
    const SIZE client{twipsToPixels(kClientWidthTwips, dpi), twipsToPixels(kClientHeightTwips, dpi)};
    const SIZE outer = windowSizeForClient(client, kStyle, 0, dpi);
    SetWindowPos(m_window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const LOGFONTW description = captionFont(dpi);
    OwnedFont font(CreateFontIndirectW(&description));
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const ControlRow& place = rows[row];
        MoveWindow(m_controls[row], twipsToPixels(place.left, dpi), twipsToPixels(place.top, dpi),
                   twipsToPixels(place.width, dpi), twipsToPixels(place.height, dpi), TRUE);
        SendMessageW(m_controls[row], WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    // The old font goes only now: until every control has the new one, some still paint with it.
    m_font = std::move(font);
}

int Win32MainWindow::run(int showCommand)
{
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!handleKeyboard(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

bool Win32MainWindow::handleKeyboard(MSG& message)
{
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && isPushButton(message.hwnd)) {
        pressWithReturn(message);
        return true;
    }
    // Tab and Space work as in a dialog. The arrow keys do not: IsDialogMessageW moves the focus by
    // them only in a window that a dialog procedure runs.
    return IsDialogMessageW(m_window, &message) != FALSE;
}

bool Win32MainWindow::isPushButton(HWND window) const
{
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (m_controls[row] == window) {
            return rows[row].kind == ControlKind::Button;
        }
    }
    return false;
}

// A dialog presses only its default button on Return, and this window is no dialog; so the button
// that has the focus is clicked, as the mouse clicks it. A held key clicks once: each click may start
// a compiler.
void Win32MainWindow::pressWithReturn(const MSG& keyDown)
{
    const bool repeated = (keyDown.lParam & (LPARAM{1} << 30)) != 0;
    if (repeated || !IsWindowEnabled(keyDown.hwnd)) {
        return;
    }
    SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(keyDown.hwnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(keyDown.hwnd));
}

LRESULT CALLBACK Win32MainWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<Win32MainWindow*>(creation->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->handleMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Win32MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == BN_CLICKED && m_session && id >= kFirstControlId &&
            static_cast<std::size_t>(id - kFirstControlId) < m_controls.size()) {
            m_session->click(static_cast<std::size_t>(id - kFirstControlId));
        }
        return 0;
    }
    case WM_ACTIVATE:
        onActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

// The focus comes back to the control that had it, as it does in a dialog.
void Win32MainWindow::onActivate(bool active)
{
    if (!active) {
        m_lastFocus = GetFocus();
        return;
    }
    HWND target = m_lastFocus != nullptr && IsWindowEnabled(m_lastFocus)
                      ? m_lastFocus
                      : GetNextDlgTabItem(m_window, nullptr, FALSE);
    if (target != nullptr) {
        SetFocus(target);
    }
}

void Win32MainWindow::onDpiChanged(int dpi, const RECT& suggested)
{
    SetWindowPos(m_window, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    applyDpi(dpi);
}

void Win32MainWindow::showChecked(std::size_t row, bool checked)
{
    SendMessageW(m_controls[row], BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32MainWindow::showEnabled(std::size_t row, bool enabled)
{
    EnableWindow(m_controls[row], enabled ? TRUE : FALSE);
}

// The box scrolls to the path's end, so that a long path shows the file's name rather than the
// folders it is in.
void Win32MainWindow::showText(std::size_t row, const std::string& text)
{
    HWND box = m_controls[row];
    SetWindowTextW(box, toWide(text).c_str());
    const LRESULT end = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}
