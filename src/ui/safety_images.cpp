#include "ui/safety_images.h"

#include <iterator>

namespace ui {

namespace {

struct TDotColours {
    COLORREF Fill;
    COLORREF Rim;
};

// From the absolutely safe level 1 (green) to the risky level 4 (red); 5, unknown, is grey.
constexpr TDotColours kLevelColours[] = {
    {RGB(0x2E, 0xB8, 0x3C), RGB(0x17, 0x6E, 0x20)},
    {RGB(0x9C, 0xCC, 0x2E), RGB(0x5C, 0x7E, 0x14)},
    {RGB(0xF2, 0xC2, 0x1E), RGB(0x9A, 0x74, 0x06)},
    {RGB(0xE0, 0x3A, 0x2C), RGB(0x8E, 0x16, 0x10)},
    {RGB(0xA8, 0xA8, 0xA8), RGB(0x60, 0x60, 0x60)},
};
constexpr int kUnknownLevel = 5;
constexpr COLORREF kMaskColour = RGB(0xFF, 0x00, 0xFF);

void DrawDot(HDC dc, int left, const TDotColours& colours, bool shine)
{
    HBRUSH fill = CreateSolidBrush(colours.Fill);
    HPEN rim = CreatePen(PS_SOLID, 1, colours.Rim);
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    HGDIOBJ oldPen = SelectObject(dc, rim);
    Ellipse(dc, left + 2, 2, left + 14, 14);
    // A light spot at the upper left gives the dot some depth.
    HBRUSH spot = CreateSolidBrush(RGB(0xFF, 0xFF, 0xFF));
    HPEN none = CreatePen(PS_NULL, 0, 0);
    if (shine) {
        SelectObject(dc, spot);
        SelectObject(dc, none);
        Ellipse(dc, left + 5, 4, left + 8, 7);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(spot);
    DeleteObject(none);
    DeleteObject(fill);
    DeleteObject(rim);
}

void DrawQuestionMark(HDC dc, int left)
{
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
    RECT box{left + 2, 2, left + 14, 14};
    DrawTextW(dc, L"?", 1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
}

}  // namespace

HIMAGELIST MakeSafetyImages()
{
    constexpr int kCount = 1 + static_cast<int>(std::size(kLevelColours));
    HIMAGELIST images = ImageList_Create(kSafetyImageSize, kSafetyImageSize, ILC_COLOR24 | ILC_MASK, kCount, 0);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, kSafetyImageSize * kCount, kSafetyImageSize);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    RECT all{0, 0, kSafetyImageSize * kCount, kSafetyImageSize};
    HBRUSH mask = CreateSolidBrush(kMaskColour);
    FillRect(dc, &all, mask);
    DeleteObject(mask);
    for (int level = 1; level < kCount; ++level) {
        DrawDot(dc, level * kSafetyImageSize, kLevelColours[level - 1], level != kUnknownLevel);
        if (level == kUnknownLevel)
            DrawQuestionMark(dc, level * kSafetyImageSize);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    ImageList_AddMasked(images, strip, kMaskColour);
    DeleteObject(strip);
    return images;
}

}  // namespace ui
