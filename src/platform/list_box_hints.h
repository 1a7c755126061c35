// Hints for plain list boxes (window class "ListBox"): pointing at an item shows its full
// text in a tooltip laid over the item, so an item too wide for its list box can be read.
// Other controls are left alone.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

struct ListBoxHint {
    bool show = false;
    int item = -1;
    POINT position{};   // screen coordinates of the hint's top left corner
    int maxWidth = 0;   // width limit of the hint's text
    RECT itemRect{};    // the item, in client coordinates: the hint stays while the mouse is inside
    std::wstring text;
};

// The hint for the mouse at `point` (client coordinates of the list box): the item under
// it, placed at the item's top and one pixel left of the client area. No hint where there
// is no item, below the last one included.
ListBoxHint DoShowHint(HWND listBox, POINT point);

// Installs the hints on every plain list box of the calling thread, those that exist and
// those created while installed.
class ListBoxHints {
public:
    ListBoxHints() = default;
    ~ListBoxHints() { Uninstall(); }
    ListBoxHints(const ListBoxHints&) = delete;
    ListBoxHints& operator=(const ListBoxHints&) = delete;

    void Install();
    void Uninstall();
    // Shows hints on this one list box (no check of its class).
    static void Attach(HWND listBox);

private:
    HHOOK hook_ = nullptr;
};

}  // namespace platform
