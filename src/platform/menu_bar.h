// A window's menu bar built from a table. The bar keeps every item's state itself, so an
// item can be hidden (taken out of the menu) and keep its check mark, tag and caption.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

struct MenuEntry {
    int id;                // command id; a top menu's id names the menu; 0 for an unnamed separator
    int parent;            // id of the top menu the item belongs to; 0 for a top menu
    std::wstring caption;  // empty for a separator
    int radioGroup = 0;    // items sharing a non-zero group are radio items: one check at a time
    bool enabled = true;
};

class MenuBar {
public:
    explicit MenuBar(std::vector<MenuEntry> entries);
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    // Builds the menu and gives it to the window, which destroys it with itself.
    void Install(HWND window);
    HMENU Handle() const { return bar_; }

    // Checking a radio item unchecks the others of its group.
    void SetChecked(int id, bool checked);
    bool Checked(int id) const;
    void SetEnabled(int id, bool enabled);
    bool Enabled(int id) const;
    void SetVisible(int id, bool visible);
    bool Visible(int id) const;
    void SetCaption(int id, const std::wstring& caption);
    const std::wstring& Caption(int id) const;
    void SetTag(int id, int tag);
    int Tag(int id) const;

    void SetBackground(HBRUSH brush);

private:
    struct Item {
        MenuEntry entry;
        bool checked = false;
        bool visible = true;
        int tag = 0;
        HMENU popup = nullptr;  // top menus only
    };

    Item& Find(int id);
    const Item& Find(int id) const;
    HMENU ParentHandle(const Item& item) const;
    int Position(const Item& item) const;
    MENUITEMINFOW Describe(const Item& item, bool withSubmenu) const;
    void Refresh(const Item& item);

    std::vector<Item> items_;
    HWND window_ = nullptr;
    HMENU bar_ = nullptr;
};

}  // namespace platform
