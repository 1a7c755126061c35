// The state pictures of the results tree: one 16 x 16 picture per safety level, drawn in
// code. Index 0 is the empty picture a tree view never shows; level n has index n.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace ui {

constexpr int kSafetyImageSize = 16;

// A new image list with the empty picture and levels 1 to 5; the caller destroys it.
HIMAGELIST MakeSafetyImages();

}  // namespace ui
