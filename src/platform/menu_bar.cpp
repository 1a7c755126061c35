#include "platform/menu_bar.h"

#include "platform/controls/menu.h"

#include <stdexcept>

namespace platform {

MenuBar::MenuBar(std::vector<MenuEntry> entries)
{
    items_.reserve(entries.size());
    for (auto& entry : entries)
        items_.push_back(Item{std::move(entry)});
}

MenuBar::Item& MenuBar::Find(int id)
{
    return const_cast<Item&>(static_cast<const MenuBar*>(this)->Find(id));
}

const MenuBar::Item& MenuBar::Find(int id) const
{
    for (const Item& item : items_) {
        if (item.entry.id == id && id != 0)
            return item;
    }
    throw std::out_of_range("menu item " + std::to_string(id) + " does not exist");
}

HMENU MenuBar::ParentHandle(const Item& item) const
{
    return item.entry.parent == 0 ? bar_ : Find(item.entry.parent).popup;
}

int MenuBar::Position(const Item& item) const
{
    int position = 0;
    for (const Item& other : items_) {
        if (&other == &item)
            return position;
        if (other.visible && other.entry.parent == item.entry.parent)
            ++position;
    }
    return position;
}

MENUITEMINFOW MenuBar::Describe(const Item& item, bool withSubmenu) const
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    info.wID = static_cast<UINT>(item.entry.id);
    info.dwItemData = static_cast<ULONG_PTR>(item.tag);
    info.fState = (item.checked ? MFS_CHECKED : MFS_UNCHECKED) | (item.entry.enabled ? MFS_ENABLED : MFS_DISABLED);
    if (item.entry.caption.empty()) {
        info.fType = MFT_SEPARATOR;
    } else {
        info.fType = MFT_STRING | (item.entry.radioGroup != 0 ? MFT_RADIOCHECK : 0);
        info.fMask |= MIIM_STRING;
        info.dwTypeData = const_cast<wchar_t*>(item.entry.caption.c_str());
    }
    if (withSubmenu && item.popup) {
        info.fMask |= MIIM_SUBMENU;
        info.hSubMenu = item.popup;
    }
    return info;
}

void MenuBar::Install(HWND window)
{
    window_ = window;
    bar_ = CreateMenu();
    for (Item& item : items_) {
        if (item.entry.parent == 0)
            item.popup = CreatePopupMenu();
    }
    for (Item& item : items_) {
        if (item.visible)
            Menu(ParentHandle(item)).Insert(Position(item), Describe(item, true));
    }
    SetMenu(window, bar_);
}

void MenuBar::Refresh(const Item& item)
{
    if (!bar_ || !item.visible)
        return;
    Menu(ParentHandle(item)).Set(Position(item), Describe(item, false));
    if (item.entry.parent == 0)
        DrawMenuBar(window_);
}

void MenuBar::SetChecked(int id, bool checked)
{
    Item& item = Find(id);
    if (checked && item.entry.radioGroup != 0) {
        for (Item& other : items_) {
            if (&other != &item && other.entry.radioGroup == item.entry.radioGroup && other.checked) {
                other.checked = false;
                Refresh(other);
            }
        }
    }
    item.checked = checked;
    Refresh(item);
}

bool MenuBar::Checked(int id) const { return Find(id).checked; }

void MenuBar::SetEnabled(int id, bool enabled)
{
    Item& item = Find(id);
    item.entry.enabled = enabled;
    Refresh(item);
}

bool MenuBar::Enabled(int id) const { return Find(id).entry.enabled; }

void MenuBar::SetVisible(int id, bool visible)
{
    Item& item = Find(id);
    if (item.visible == visible)
        return;
    if (bar_) {
        Menu parent(ParentHandle(item));
        if (visible) {
            item.visible = true;
            parent.Insert(Position(item), Describe(item, true));
        } else {
            parent.Remove(Position(item));
            item.visible = false;
        }
        if (item.entry.parent == 0)
            DrawMenuBar(window_);
    }
    item.visible = visible;
}

bool MenuBar::Visible(int id) const { return Find(id).visible; }

void MenuBar::SetCaption(int id, const std::wstring& caption)
{
    Item& item = Find(id);
    item.entry.caption = caption;
    Refresh(item);
}

const std::wstring& MenuBar::Caption(int id) const { return Find(id).entry.caption; }

void MenuBar::SetTag(int id, int tag)
{
    Item& item = Find(id);
    item.tag = tag;
    Refresh(item);
}

int MenuBar::Tag(int id) const { return Find(id).tag; }

void MenuBar::SetBackground(HBRUSH brush)
{
    if (!bar_)
        return;
    Menu(bar_).SetBackground(brush);
    DrawMenuBar(window_);
}

}  // namespace platform
