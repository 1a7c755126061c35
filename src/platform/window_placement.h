// Sizing and placing top-level windows.
#pragma once

#include <windows.h>

namespace platform {

// Sizes the window so that its client area is `width` x `height` (below the menu bar when
// `hasMenu`); the position stays.
void SetClientSize(HWND window, int width, int height, bool hasMenu = false);

// Centres the window on its monitor: on the whole screen, or on the work area (without the
// task bar) when `workArea`.
void CenterOnScreen(HWND window, bool workArea = false);

}  // namespace platform
