// The skin manager: five colour schemes for the program's windows. Windows attached to a
// manager are repainted when its style changes; dialogs ask it for their control colours.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

struct SkinPalette {
    COLORREF face;        // window and page background
    COLORREF text;        // labels on the face
    COLORREF header;      // title band, left end
    COLORREF headerFade;  // title band, right end
    COLORREF headerText;
    COLORREF field;       // edit and list backgrounds
    COLORREF fieldText;
    COLORREF link;
};

// Styles that have a palette. Any other value (0, the theme-file style, included) shows as DeepBlue.
enum SkinStyle : int { kSkinMacOS = 1, kSkinWinXP = 2, kSkinDeepBlue = 3, kSkinProtein = 4, kSkinBlueGlass = 5 };

class SkinManager {
public:
    SkinManager();
    ~SkinManager();
    SkinManager(const SkinManager&) = delete;
    SkinManager& operator=(const SkinManager&) = delete;

    // Values outside 1..5 fall back to DeepBlue (3), which is then the stored style.
    void SetUIStyle(int style);
    int UIStyle() const { return style_; }
    const SkinPalette& Palette() const;

    HBRUSH FaceBrush() const { return face_; }
    HBRUSH FieldBrush() const { return field_; }

    // Windows repainted on every style change.
    void Attach(HWND window);
    void Detach(HWND window);

    // Answer to WM_CTLCOLOR*: sets the colours on the device context and returns the brush.
    HBRUSH ColorControl(UINT message, HDC dc) const;
    // Paints a title band: a fade from the header colour, a large title and a smaller line below.
    void PaintHeader(HDC dc, const RECT& band, const std::wstring& title, HFONT titleFont,
                     const std::wstring& subtitle, HFONT subtitleFont) const;

private:
    void MakeBrushes();
    void FreeBrushes();

    int style_ = kSkinDeepBlue;
    HBRUSH face_ = nullptr;
    HBRUSH field_ = nullptr;
    std::vector<HWND> windows_;
};

}  // namespace platform
