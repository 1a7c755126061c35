// The pictures of the about window, drawn with GDI: the product logo and two decorations.
#pragma once

#include <windows.h>

namespace ui {

// The program icon with the product name beside it.
void PaintAboutLogo(HDC dc, const RECT& bounds, HFONT nameFont);
// A band that fades from deep blue to sky blue, with a light stripe along its foot.
void PaintAboutBand(HDC dc, const RECT& bounds);
// Sparkles of several sizes in soft blues, as left behind by a clean sweep.
void PaintAboutSparkles(HDC dc, const RECT& bounds);

}  // namespace ui
