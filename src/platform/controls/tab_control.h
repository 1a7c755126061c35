// Tab control: a row of captions; the pages shown below them are the owner's business.
#pragma once

#include "platform/controls/window.h"

#include <commctrl.h>

#include <string>

namespace platform {

class TabControl : public Window {
public:
    using Window::Window;

    void AddTab(const std::wstring& caption) const
    {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(caption.c_str());
        Send(TCM_INSERTITEMW, static_cast<WPARAM>(Count()), reinterpret_cast<LPARAM>(&item));
    }
    int Count() const { return static_cast<int>(Send(TCM_GETITEMCOUNT)); }
    std::wstring Caption(int index) const
    {
        wchar_t buffer[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 128;
        Send(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    int Selected() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
    // Selects a tab without the change notification.
    void Select(int index) const { Send(TCM_SETCURSEL, static_cast<WPARAM>(index)); }
    // The area below the tabs, in the coordinates of the control's parent.
    RECT PageArea() const
    {
        RECT area{};
        GetWindowRect(window_, &area);
        MapWindowPoints(nullptr, GetParent(window_), reinterpret_cast<POINT*>(&area), 2);
        Send(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        return area;
    }
};

}  // namespace platform
