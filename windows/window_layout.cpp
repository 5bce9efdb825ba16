#include "window_layout.h"

#include "control_table.h"
#include "screen_scale.h"
#include "window_controls.h"

void WindowLayout::apply(HWND window, const WindowControls& controls, int dpi)
{
    const SIZE client{twipsToPixels(kClientWidthTwips, dpi), twipsToPixels(kClientHeightTwips, dpi)};
    const SIZE outer = windowSizeForClient(client, kStyle, 0, dpi);
    SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const LOGFONTW description = captionFont(dpi);
    OwnedFont font(CreateFontIndirectW(&description));
    const auto rows = controlTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const ControlRow& place = rows[row];
        MoveWindow(controls.at(row), twipsToPixels(place.left, dpi), twipsToPixels(place.top, dpi),
                   twipsToPixels(place.width, dpi), twipsToPixels(place.height, dpi), TRUE);
        SendMessageW(controls.at(row), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    }
    // The old font goes only now: until every control has the new one, some still paint with it.
    m_font = std::move(font);
}
