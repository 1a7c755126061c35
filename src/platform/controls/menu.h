// Non-owning wrapper of a menu handle; items are addressed by position.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

class Menu {
public:
    Menu() = default;
    explicit Menu(HMENU menu) : menu_(menu) {}

    HMENU Handle() const { return menu_; }

    bool Insert(int position, const MENUITEMINFOW& item) const
    {
        return InsertMenuItemW(menu_, static_cast<UINT>(position), TRUE, &item) != FALSE;
    }
    bool Remove(int position) const { return RemoveMenu(menu_, static_cast<UINT>(position), MF_BYPOSITION) != FALSE; }
    bool Set(int position, const MENUITEMINFOW& item) const
    {
        return SetMenuItemInfoW(menu_, static_cast<UINT>(position), TRUE, &item) != FALSE;
    }
    bool SetBackground(HBRUSH brush) const
    {
        MENUINFO info{};
        info.cbSize = sizeof info;
        info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
        info.hbrBack = brush;
        return SetMenuInfo(menu_, &info) != FALSE;
    }

private:
    HMENU menu_ = nullptr;
};

}  // namespace platform
