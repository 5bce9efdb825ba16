#include "output_panel_window.h"

#include "wide_text.h"

namespace {

constexpr wchar_t kClassName[] = L"TarnwickOutputPanel";

std::wstring joined(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines) {
        text.append(line).append(L"\r\n");
    }
    return text;
}

} // namespace

OutputPanelWindow::OutputPanelWindow(HWND parent, int controlId)
{
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &OutputPanelWindow::windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass); // fails harmlessly when a second panel registers it again
    m_window = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance, this);
}

void OutputPanelWindow::printLine(const std::string& text)
{
    m_lines.push_back(toWide(text));
    SetWindowTextW(m_window, joined(m_lines).c_str());
    InvalidateRect(m_window, nullptr, TRUE);
}

LRESULT CALLBACK OutputPanelWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    const auto* panel = reinterpret_cast<const OutputPanelWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_SETFONT:
        SetPropW(window, L"font", reinterpret_cast<HANDLE>(wParam));
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(GetPropW(window, L"font"));
    case WM_PAINT:
        if (panel != nullptr) {
            panel->paint(window);
            return 0;
        }
        break;
    case WM_NCDESTROY:
        RemovePropW(window, L"font");
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void OutputPanelWindow::paint(HWND window) const
{
    PAINTSTRUCT paint{};
    HDC context = BeginPaint(window, &paint);
    const auto font = reinterpret_cast<HFONT>(GetPropW(window, L"font"));
    const HGDIOBJ previous = font != nullptr ? SelectObject(context, font) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(context, &metrics);
    SetBkMode(context, TRANSPARENT);
    int top = 0;
    for (const std::wstring& line : m_lines) {
        TextOutW(context, 0, top, line.c_str(), static_cast<int>(line.size()));
        top += metrics.tmHeight;
    }
    if (previous != nullptr) {
        SelectObject(context, previous);
    }
    EndPaint(window, &paint);
}
