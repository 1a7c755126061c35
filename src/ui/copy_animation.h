// The progress window's file-copy animation, drawn in code: a page flies in an arc from a
// folder on the left into a folder on the right.
#pragma once

#include "platform/skin.h"

#include <windows.h>

namespace ui {

// Frames of one flight; frame 0 has the page leaving the left folder.
constexpr int kCopyFrameCount = 31;

// Paints frame `frame` (taken modulo kCopyFrameCount) over the whole of `area`.
void PaintCopyFrame(HDC dc, const RECT& area, int frame, const platform::SkinPalette& palette);

}  // namespace ui
