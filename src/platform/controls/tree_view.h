// Tree view: nodes with a text and a state image, walked by parent, child and sibling.
#pragma once

#include "platform/controls/window.h"

#include <commctrl.h>

#include <string>

namespace platform {

class TreeView : public Window {
public:
    using Window::Window;

    // Appends a node under `parent` (TVI_ROOT for a top-level node).
    HTREEITEM AddItem(HTREEITEM parent, const std::wstring& text, int stateImage) const
    {
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_STATE;
        insert.item.pszText = const_cast<wchar_t*>(text.c_str());
        insert.item.state = INDEXTOSTATEIMAGEMASK(stateImage);
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
        return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }

    // Whether the node shows an expand button before its children are added.
    void SetHasChildren(HTREEITEM node, bool hasChildren) const
    {
        TVITEMW item{};
        item.mask = TVIF_CHILDREN;
        item.hItem = node;
        item.cChildren = hasChildren ? 1 : 0;
        Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }

    void SetItem(HTREEITEM node, const std::wstring& text, int stateImage) const
    {
        TVITEMW item{};
        item.mask = TVIF_TEXT | TVIF_STATE;
        item.hItem = node;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        item.state = INDEXTOSTATEIMAGEMASK(stateImage);
        item.stateMask = TVIS_STATEIMAGEMASK;
        Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }

    std::wstring ItemText(HTREEITEM node) const
    {
        wchar_t buffer[1024] = {};
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = node;
        item.pszText = buffer;
        item.cchTextMax = 1024;
        Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    int StateImage(HTREEITEM node) const
    {
        return static_cast<int>((Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_STATEIMAGEMASK) >> 12) & 0xF);
    }

    bool IsSelected(HTREEITEM node) const
    {
        return Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_SELECTED) & TVIS_SELECTED;
    }
    // Marks a node selected or not without moving the caret.
    void SetSelected(HTREEITEM node, bool selected) const
    {
        TVITEMW item{};
        item.mask = TVIF_STATE;
        item.hItem = node;
        item.state = selected ? TVIS_SELECTED : 0;
        item.stateMask = TVIS_SELECTED;
        Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }

    void DeleteItem(HTREEITEM node) const { Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node)); }
    void DeleteAllItems() const { Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT)); }
    void Expand(HTREEITEM node) const { Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node)); }

    HTREEITEM Root() const { return Next(nullptr, TVGN_ROOT); }
    HTREEITEM Child(HTREEITEM node) const { return Next(node, TVGN_CHILD); }
    HTREEITEM Sibling(HTREEITEM node) const { return Next(node, TVGN_NEXT); }
    HTREEITEM Parent(HTREEITEM node) const { return Next(node, TVGN_PARENT); }
    HTREEITEM NextVisible(HTREEITEM node) const { return Next(node, TVGN_NEXTVISIBLE); }
    HTREEITEM Caret() const { return Next(nullptr, TVGN_CARET); }
    // Moves the caret (and the control's own single selection) to the node.
    void SelectCaret(HTREEITEM node) const { Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node)); }
    // Scrolls the node to the top of the view.
    void ScrollTo(HTREEITEM node) const { Send(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node)); }
    int Count() const { return static_cast<int>(Send(TVM_GETCOUNT)); }

    // The node under a point in client coordinates, or nullptr; `flags` gets the TVHT_ part.
    HTREEITEM HitTest(POINT point, UINT& flags) const
    {
        TVHITTESTINFO hit{};
        hit.pt = point;
        const auto node = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        flags = hit.flags;
        return node;
    }

    void SetStateImageList(HIMAGELIST images) const
    {
        Send(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(images));
    }

    // Stops or restarts painting while many nodes change.
    void SetRedraw(bool redraw) const { Send(WM_SETREDRAW, redraw ? TRUE : FALSE); }

private:
    HTREEITEM Next(HTREEITEM node, UINT relation) const
    {
        return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
    }
};

}  // namespace platform
