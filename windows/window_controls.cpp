#include "window_controls.h"

#include "wide_text.h"

namespace {

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

HMENU controlMenu(int id)
{
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
}

} // namespace

WindowControls::WindowControls(HWND window, HINSTANCE instance)
{
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        m_controls.push_back(create(window, instance, rows[row], kFirstControlId + static_cast<int>(row)));
    }
    createToolTips(window, instance);
}

HWND WindowControls::named(std::string_view name) const
{
    const std::optional<std::size_t> row = rowNamed(name);
    return row ? m_controls[*row] : nullptr;
}

std::optional<std::size_t> WindowControls::rowOf(int id) const
{
    const auto row = static_cast<std::size_t>(id - kFirstControlId);
    return id >= kFirstControlId && row < m_controls.size() ? std::optional(row) : std::nullopt;
}

bool WindowControls::isPushButton(HWND control) const
{
    const std::optional<std::size_t> row = rowOf(GetDlgCtrlID(control));
    return row && m_controls[*row] == control && controlTable()[*row].kind == ControlKind::Button;
}

HWND WindowControls::create(HWND window, HINSTANCE instance, const ControlRow& row, int id)
{
    if (row.kind == ControlKind::OutputPanel) {
        m_panel = std::make_unique<OutputPanelWindow>(window, id);
        return m_panel->handle();
    }
    const DWORD extendedStyle = row.kind == ControlKind::TextBox ? WS_EX_CLIENTEDGE : 0;
    return CreateWindowExW(extendedStyle, windowClassOf(row.kind), toWide(row.caption).c_str(), styleOf(row),
                           0, 0, 0, 0, window, controlMenu(id), instance, nullptr);
}

void WindowControls::createToolTips(HWND window, HINSTANCE instance)
{
    HWND toolTips = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, instance, nullptr);
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (rows[row].toolTip.empty()) {
            continue;
        }
        std::wstring text = toWide(rows[row].toolTip);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(m_controls[row]);
        tool.lpszText = text.data();
        SendMessageW(toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}
