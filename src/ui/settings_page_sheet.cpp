// The tabs' sheets of the cleaner settings page and their rating dots.
#include "ui/settings_page.h"

namespace ui {

namespace {

COLORREF DotColour(scan::TDotColour colour)
{
    switch (colour) {
    case scan::TDotColour::Green: return RGB(0x2E, 0xB8, 0x2E);
    case scan::TDotColour::Yellow: return RGB(0xF2, 0xC8, 0x00);
    case scan::TDotColour::Red: return RGB(0xE0, 0x20, 0x20);
    }
    return RGB(0x80, 0x80, 0x80);
}

COLORREF Darker(COLORREF colour)
{
    return RGB(GetRValue(colour) * 2 / 3, GetGValue(colour) * 2 / 3, GetBValue(colour) * 2 / 3);
}

}  // namespace

bool TSettingsSheet::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const auto dot = dots_.find(static_cast<int>(item->CtlID));
        if (dot != dots_.end()) {
            DrawDot(*item, dot->second);
            result = TRUE;
            return true;
        }
    }
    return FramePage::OnMessage(message, wParam, lParam, result);
}

// A round dot of the row's colour with a darker rim and a small highlight.
void TSettingsSheet::DrawDot(const DRAWITEMSTRUCT& item, scan::TDotColour colour) const
{
    const HDC dc = item.hDC;
    const RECT& box = item.rcItem;
    HBRUSH face = Skin() ? Skin()->FaceBrush() : GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc, &box, face);
    const COLORREF fill = DotColour(colour);
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, Darker(fill));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1);
    HBRUSH shine = CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
    HPEN noPen = static_cast<HPEN>(GetStockObject(NULL_PEN));
    SelectObject(dc, shine);
    SelectObject(dc, noPen);
    Ellipse(dc, box.left + 5, box.top + 4, box.left + 9, box.top + 8);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(shine);
    DeleteObject(brush);
    DeleteObject(pen);
}

}  // namespace ui
