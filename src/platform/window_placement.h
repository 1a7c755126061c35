// Sizing and placing top-level windows.
#pragma once

#include <windows.h>

#include <span>

namespace platform {

// Sizes the window so that its client area is `width` x `height` (below the menu bar when
// `hasMenu`); the position stays.
void SetClientSize(HWND window, int width, int height, bool hasMenu = false);

// Where a control goes, in client pixels.
struct ControlPlacement {
    int id;
    RECT bounds;
};

// SetClientSize without a menu, then moves each control of the dialog to its place.
void LayOutDialog(HWND dialog, int width, int height, std::span<const ControlPlacement> controls);

// Centres the window on its monitor: on the whole screen, or on the work area (without the
// task bar) when `workArea`.
void CenterOnScreen(HWND window, bool workArea = false);

}  // namespace platform
