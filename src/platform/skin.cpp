#include "platform/skin.h"

#include <algorithm>

namespace platform {

namespace {

// Indexed by style 1..5.
const SkinPalette kPalettes[] = {
    // MacOS: brushed grey
    {RGB(232, 232, 232), RGB(20, 20, 20), RGB(150, 156, 168), RGB(222, 224, 230), RGB(20, 20, 20), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 70, 200)},
    // WinXP: beige face, blue title
    {RGB(236, 233, 216), RGB(0, 0, 0), RGB(0, 84, 227), RGB(61, 149, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 204)},
    // DeepBlue
    {RGB(214, 226, 245), RGB(10, 28, 74), RGB(16, 42, 104), RGB(58, 110, 190), RGB(255, 255, 255), RGB(246, 249, 255), RGB(10, 28, 74), RGB(0, 64, 200)},
    // Protein: grey-green
    {RGB(228, 232, 222), RGB(32, 40, 28), RGB(86, 104, 74), RGB(160, 178, 140), RGB(255, 255, 255), RGB(250, 252, 246), RGB(32, 40, 28), RGB(30, 80, 170)},
    // BlueGlass: pale cyan, glassy blue title
    {RGB(226, 241, 251), RGB(8, 44, 80), RGB(40, 120, 190), RGB(150, 205, 240), RGB(255, 255, 255), RGB(255, 255, 255), RGB(8, 44, 80), RGB(0, 90, 190)},
};

COLORREF Mix(COLORREF a, COLORREF b, int step, int steps)
{
    auto channel = [&](int x, int y) { return x + (y - x) * step / steps; };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

}  // namespace

SkinManager::SkinManager() { MakeBrushes(); }

SkinManager::~SkinManager() { FreeBrushes(); }

const SkinPalette& SkinManager::Palette() const { return kPalettes[style_ - 1]; }

void SkinManager::SetUIStyle(int style)
{
    style_ = (style >= kSkinMacOS && style <= kSkinBlueGlass) ? style : kSkinDeepBlue;
    FreeBrushes();
    MakeBrushes();
    for (HWND window : windows_)
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void SkinManager::MakeBrushes()
{
    face_ = CreateSolidBrush(Palette().face);
    field_ = CreateSolidBrush(Palette().field);
}

void SkinManager::FreeBrushes()
{
    DeleteObject(face_);
    DeleteObject(field_);
    face_ = field_ = nullptr;
}

void SkinManager::Attach(HWND window)
{
    if (std::find(windows_.begin(), windows_.end(), window) == windows_.end())
        windows_.push_back(window);
}

void SkinManager::Detach(HWND window)
{
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

HBRUSH SkinManager::ColorControl(UINT message, HDC dc) const
{
    const SkinPalette& palette = Palette();
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        SetTextColor(dc, palette.fieldText);
        SetBkColor(dc, palette.field);
        return field_;
    }
    SetTextColor(dc, palette.text);
    SetBkColor(dc, palette.face);
    SetBkMode(dc, TRANSPARENT);
    return face_;
}

void SkinManager::PaintHeader(HDC dc, const RECT& band, const std::wstring& title, HFONT titleFont,
                              const std::wstring& subtitle, HFONT subtitleFont) const
{
    const SkinPalette& palette = Palette();
    const int width = band.right - band.left;
    const int steps = 32;
    for (int step = 0; step < steps; ++step) {
        RECT strip{band.left + width * step / steps, band.top, band.left + width * (step + 1) / steps, band.bottom};
        HBRUSH brush = CreateSolidBrush(Mix(palette.header, palette.headerFade, step, steps - 1));
        FillRect(dc, &strip, brush);
        DeleteObject(brush);
    }
    const int height = band.bottom - band.top;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, palette.headerText);
    HGDIOBJ old = SelectObject(dc, titleFont);
    RECT titleRect{band.left + 16, band.top + 4, band.right - 16, band.top + height * 3 / 5};
    DrawTextW(dc, title.c_str(), static_cast<int>(title.size()), &titleRect, DT_LEFT | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, subtitleFont);
    RECT subtitleRect{band.left + 18, band.top + height * 3 / 5, band.right - 16, band.bottom - 4};
    DrawTextW(dc, subtitle.c_str(), static_cast<int>(subtitle.size()), &subtitleRect, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

}  // namespace platform
