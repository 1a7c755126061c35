// List view: columns, rows with their images, the texts of their cells and the selection.
#pragma once

#include "platform/controls/window.h"

#include <commctrl.h>

#include <string>

namespace platform {

class ListView : public Window {
public:
    using Window::Window;

    void SetExtendedStyle(DWORD style) const { ListView_SetExtendedListViewStyle(window_, style); }

    void InsertColumn(int index, const std::wstring& caption, int width) const
    {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(caption.c_str());
        column.cx = width;
        column.iSubItem = index;
        Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
    }

    // Appends a row with the text of its first column; returns its index.
    int AddItem(const std::wstring& text) const
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = ItemCount();
        item.pszText = const_cast<wchar_t*>(text.c_str());
        return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }

    void SetItemText(int item, int subItem, const std::wstring& text) const
    {
        LVITEMW cell{};
        cell.iSubItem = subItem;
        cell.pszText = const_cast<wchar_t*>(text.c_str());
        Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
    }

    std::wstring ItemText(int item, int subItem) const
    {
        wchar_t buffer[512] = {};
        LVITEMW cell{};
        cell.iSubItem = subItem;
        cell.pszText = buffer;
        cell.cchTextMax = 512;
        Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
        return buffer;
    }

    // Appends a row with its text and image; returns its index.
    int AddItem(const std::wstring& text, int image) const
    {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = ItemCount();
        item.pszText = const_cast<wchar_t*>(text.c_str());
        item.iImage = image;
        return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }

    void DeleteAllItems() const { Send(LVM_DELETEALLITEMS); }
    void SetSmallImages(HIMAGELIST images) const { Send(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images)); }
    int ItemImage(int item) const
    {
        LVITEMW cell{};
        cell.mask = LVIF_IMAGE;
        cell.iItem = item;
        Send(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&cell));
        return cell.iImage;
    }

    bool Selected(int item) const
    {
        return (Send(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
    }
    void SetSelected(int item, bool selected) const
    {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED;
        state.state = selected ? LVIS_SELECTED : 0;
        Send(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
    }

    int ItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    void EnsureVisible(int item) const { Send(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE); }
};

}  // namespace platform
