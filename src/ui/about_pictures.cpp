#include "ui/about_pictures.h"

#include "platform/app_title.h"
#include "resource.h"

#include <algorithm>
#include <iterator>

namespace ui {

namespace {

constexpr COLORREF kDeepBlue = RGB(24, 64, 140);
constexpr COLORREF kSkyBlue = RGB(96, 170, 235);

COLORREF Mix(COLORREF from, COLORREF to, int step, int steps)
{
    auto channel = [&](int a, int b) { return a + (b - a) * step / std::max(1, steps); };
    return RGB(channel(GetRValue(from), GetRValue(to)), channel(GetGValue(from), GetGValue(to)),
               channel(GetBValue(from), GetBValue(to)));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A four-pointed star centred on (x, y) with arms of `arm` pixels.
void Sparkle(HDC dc, int x, int y, int arm, COLORREF colour)
{
    const int waist = std::max(1, arm / 4);
    const POINT star[] = {{x, y - arm}, {x + waist, y - waist}, {x + arm, y}, {x + waist, y + waist},
                          {x, y + arm}, {x - waist, y + waist}, {x - arm, y}, {x - waist, y - waist}};
    HBRUSH brush = CreateSolidBrush(colour);
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polygon(dc, star, static_cast<int>(std::size(star)));
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

}  // namespace

void PaintAboutLogo(HDC dc, const RECT& bounds, HFONT nameFont)
{
    FillSolid(dc, bounds, RGB(255, 255, 255));
    const int iconSize = 48;
    const int top = bounds.top + (bounds.bottom - bounds.top - iconSize) / 2;
    auto icon = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TIDYMATE), IMAGE_ICON, iconSize, iconSize, 0));
    if (icon) {
        DrawIconEx(dc, bounds.left, top, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    }
    RECT name{bounds.left + iconSize + 12, bounds.top, bounds.right, bounds.bottom};
    HGDIOBJ oldFont = SelectObject(dc, nameFont);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kDeepBlue);
    DrawTextW(dc, platform::kAppTitle, -1, &name, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void PaintAboutBand(HDC dc, const RECT& bounds)
{
    const int width = bounds.right - bounds.left;
    const int steps = 32;
    for (int step = 0; step < steps; ++step) {
        RECT slice{bounds.left + width * step / steps, bounds.top, bounds.left + width * (step + 1) / steps,
                   bounds.bottom};
        FillSolid(dc, slice, Mix(kDeepBlue, kSkyBlue, step, steps - 1));
    }
    RECT stripe{bounds.left, bounds.bottom - 2, bounds.right, bounds.bottom};
    FillSolid(dc, stripe, RGB(200, 228, 250));
}

void PaintAboutSparkles(HDC dc, const RECT& bounds)
{
    FillSolid(dc, bounds, RGB(255, 255, 255));
    struct Star {
        int x, y, arm;  // per mille of the picture's width and height, arm in pixels
        COLORREF colour;
    };
    constexpr Star stars[] = {
        {120, 560, 14, RGB(120, 180, 240)}, {330, 300, 8, RGB(170, 210, 245)}, {470, 700, 10, RGB(96, 170, 235)},
        {640, 380, 6, RGB(190, 220, 250)},  {780, 640, 12, RGB(140, 195, 240)}, {920, 280, 5, RGB(180, 215, 248)},
    };
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    for (const Star& star : stars)
        Sparkle(dc, bounds.left + width * star.x / 1000, bounds.top + height * star.y / 1000, star.arm, star.colour);
}

}  // namespace ui
