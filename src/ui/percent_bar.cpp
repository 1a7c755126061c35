#include "ui/percent_bar.h"

#include <algorithm>

namespace ui {

int PercentOf(long long position, long long maximum)
{
    if (maximum <= 0)
        return 0;
    return static_cast<int>(std::clamp(position, 0LL, maximum) * 100 / maximum);
}

std::wstring PercentCaption(int percent) { return std::to_wstring(percent) + L"%"; }

void PercentBar::SetPosition(int position, int maximum)
{
    const int percent = PercentOf(position, maximum);
    if (percent == percent_)
        return;
    percent_ = percent;
    SetText(PercentCaption(percent));
    InvalidateRect(window_, nullptr, FALSE);
}

void PercentBar::Paint(const DRAWITEMSTRUCT& item, const platform::SkinPalette& palette) const
{
    const HDC dc = item.hDC;
    const RECT& bounds = item.rcItem;
    const int percent = std::max(percent_, 0);
    RECT filled = bounds;
    filled.right = bounds.left + (bounds.right - bounds.left) * percent / 100;
    RECT empty = bounds;
    empty.left = filled.right;

    HBRUSH fill = CreateSolidBrush(palette.header);
    HBRUSH field = CreateSolidBrush(palette.field);
    FillRect(dc, &filled, fill);
    FillRect(dc, &empty, field);
    FrameRect(dc, &bounds, fill);
    DeleteObject(fill);
    DeleteObject(field);

    // The caption in the field's text colour, then again over the filled part in the header's.
    const std::wstring caption = PercentCaption(percent);
    RECT text = bounds;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, palette.fieldText);
    DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, filled.left, filled.top, filled.right, filled.bottom);
    SetTextColor(dc, palette.headerText);
    DrawTextW(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RestoreDC(dc, saved);
}

}  // namespace ui
