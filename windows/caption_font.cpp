#include "caption_font.h"

#include "control_table.h"
#include "owned_handle.h"
#include "screen_scale.h"
#include "wide_text.h"

#include <algorithm>

namespace {

// The room a control's caption has, in pixels: the part of the control inside the client area, as
// the window's edge cuts a caption. A cut on one side of a centred caption takes as much room from
// the other; captions are centred but for a check box's, which starts after its mark. Controls off
// the window, which only tools read, keep their whole size.
SIZE captionRoom(const ControlRow& row, int dpi)
{
    const SIZE own{twipsToPixels(row.width, dpi), twipsToPixels(row.height, dpi)};
    if (isOffScreen(row)) {
        return own;
    }
    const SIZE cut{
        std::max(LONG{0}, twipsToPixels(row.left, dpi) + own.cx - twipsToPixels(kClientWidthTwips, dpi)),
        std::max(LONG{0}, twipsToPixels(row.top, dpi) + own.cy - twipsToPixels(kClientHeightTwips, dpi))};
    const int widthCuts = row.kind == ControlKind::CheckBox ? 1 : 2;
    return {own.cx - widthCuts * cut.cx, own.cy - 2 * cut.cy};
}

bool captionFits(HDC context, const ControlRow& row, int dpi)
{
    const std::wstring caption = toWide(row.caption);
    const auto [width, height] = captionRoom(row, dpi);
    if (row.kind == ControlKind::CheckBox) {
        SIZE extent{};
        GetTextExtentPoint32W(context, caption.c_str(), static_cast<int>(caption.size()), &extent);
        return extent.cx <= width - checkMarkWidth(dpi) && extent.cy <= height;
    }
    // Push buttons wrap their captions onto more lines.
    RECT box{0, 0, width - buttonFrame(dpi), 0};
    DrawTextW(context, caption.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    return box.right <= width - buttonFrame(dpi) && box.bottom <= height - buttonFrame(dpi);
}

bool everyCaptionFits(HDC context, const LOGFONTW& description, int dpi)
{
    const OwnedFont font(CreateFontIndirectW(&description));
    const HGDIOBJ previous = SelectObject(context, font.get());
    bool fits = true;
    for (const ControlRow& row : controlTable()) {
        if (!row.caption.empty() && !captionFits(context, row, dpi)) {
            fits = false;
            break;
        }
    }
    SelectObject(context, previous);
    return fits;
}

} // namespace

int checkMarkWidth(int dpi)
{
    return MulDiv(16, dpi, 96);
}

int buttonFrame(int dpi)
{
    return MulDiv(6, dpi, 96);
}

LOGFONTW captionFont(int dpi)
{
    LOGFONTW font = messageFont(dpi);
    HDC screen = GetDC(nullptr);
    // Heights are negative (character heights); stop at 6 points, below which nothing is legible.
    const LONG smallest = -MulDiv(6, dpi, 72);
    while (font.lfHeight < smallest && !everyCaptionFits(screen, font, dpi)) {
        ++font.lfHeight;
    }
    ReleaseDC(nullptr, screen);
    return font;
}
