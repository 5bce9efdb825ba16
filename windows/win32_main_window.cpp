#include "win32_main_window.h"

#include "screen_scale.h"
#include "wide_text.h"

namespace {

constexpr int kIconResource = 1;

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

} // namespace

Win32MainWindow::Win32MainWindow(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    registerWindowClass(instance, &Win32MainWindow::windowProcedure);
    m_window = CreateWindowExW(0, kClassName, toWide(kWindowTitle).c_str(), WindowLayout::kStyle,
                               CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, nullptr, instance, this);
    m_controls.emplace(m_window, instance);
    m_keyboard.emplace(m_window, *m_controls);
    applyDpi(windowDpi(m_window));
}

Win32MainWindow::~Win32MainWindow()
{
    if (IsWindow(m_window)) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

void Win32MainWindow::serve(const ProgramServices& services)
{
    m_session = std::make_unique<WindowSession>(static_cast<ControlSurface&>(*this),
                                                WindowServices{services.messages, m_controls->panel(),
                                                               services.launcher, services.bspDialog,
                                                               services.aasDialog});
}

int Win32MainWindow::run(int showCommand)
{
    ShowWindow(m_window, showCommand);
    UpdateWindow(m_window);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!m_keyboard->handle(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The services its main made may go once the window has closed.
    m_session.reset();
    return static_cast<int>(message.wParam);
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
    case WM_COMMAND:
        onCommand(wParam);
        return 0;
    case WM_ACTIVATE:
        if (m_keyboard) {
            m_keyboard->activated(LOWORD(wParam) != WA_INACTIVE);
        }
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

// A click before the session is served, or on no control of the table's, does nothing.
void Win32MainWindow::onCommand(WPARAM wParam)
{
    const std::optional<std::size_t> row = m_controls ? m_controls->rowOf(LOWORD(wParam)) : std::nullopt;
    if (HIWORD(wParam) == BN_CLICKED && m_session && row) {
        m_session->click(*row);
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
    SendMessageW(m_controls->at(row), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32MainWindow::showEnabled(std::size_t row, bool enabled)
{
    EnableWindow(m_controls->at(row), enabled ? TRUE : FALSE);
}

// The box scrolls to the path's end, so that a long path shows the file's name rather than the
// folders it is in.
void Win32MainWindow::showText(std::size_t row, const std::string& text)
{
    HWND box = m_controls->at(row);
    SetWindowTextW(box, toWide(text).c_str());
    const LRESULT end = SendMessageW(box, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
}
