#include "platform/controls/multi_select_tree.h"

#include <windowsx.h>

namespace platform {

namespace {

constexpr UINT_PTR kSubclassId = 1;

bool KeyDown(int key) { return GetKeyState(key) < 0; }

}  // namespace

MultiSelectTree::~MultiSelectTree()
{
    if (tree_.Handle() && IsWindow(tree_.Handle()))
        RemoveWindowSubclass(tree_.Handle(), SubclassProc, kSubclassId);
}

void MultiSelectTree::Attach(HWND tree)
{
    tree_.Attach(tree);
    SetWindowSubclass(tree, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

template <typename Visit>
void MultiSelectTree::ForEachNode(Visit visit) const
{
    for (HTREEITEM top = tree_.Root(); top; top = tree_.Sibling(top)) {
        visit(top);
        for (HTREEITEM child = tree_.Child(top); child; child = tree_.Sibling(child))
            visit(child);
    }
}

std::vector<HTREEITEM> MultiSelectTree::Selection() const
{
    std::vector<HTREEITEM> selected;
    ForEachNode([&](HTREEITEM node) {
        if (tree_.IsSelected(node))
            selected.push_back(node);
    });
    return selected;
}

void MultiSelectTree::ClearSelection() const
{
    ForEachNode([&](HTREEITEM node) {
        if (tree_.IsSelected(node))
            tree_.SetSelected(node, false);
    });
}

void MultiSelectTree::SelectAll() const
{
    ForEachNode([&](HTREEITEM node) { tree_.SetSelected(node, true); });
}

void MultiSelectTree::SelectRange(HTREEITEM from, HTREEITEM to) const
{
    ClearSelection();
    // Walk down from `from`; if `to` is not below it, the range runs the other way.
    for (HTREEITEM node = from; node; node = tree_.NextVisible(node)) {
        if (node == to) {
            for (node = from; node != to; node = tree_.NextVisible(node))
                tree_.SetSelected(node, true);
            tree_.SetSelected(to, true);
            return;
        }
    }
    for (HTREEITEM node = to; node; node = tree_.NextVisible(node)) {
        tree_.SetSelected(node, true);
        if (node == from)
            return;
    }
}

void MultiSelectTree::Click(HTREEITEM node, bool control, bool shift)
{
    if (shift && anchor_) {
        SelectRange(anchor_, node);
        return;
    }
    if (control) {
        tree_.SetSelected(node, !tree_.IsSelected(node));
        anchor_ = node;
        return;
    }
    ClearSelection();
    tree_.SelectCaret(node);
    tree_.SetSelected(node, true);
    anchor_ = node;
}

LRESULT MultiSelectTree::CustomDraw(NMTVCUSTOMDRAW& draw) const
{
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT)
        return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT)
        return CDRF_DODEFAULT;
    const auto node = reinterpret_cast<HTREEITEM>(draw.nmcd.dwItemSpec);
    if (tree_.IsSelected(node)) {
        const bool focused = GetFocus() == tree_.Handle();
        draw.clrText = GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
        draw.clrTextBk = GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE);
        draw.nmcd.uItemState |= CDIS_SELECTED;
    } else {
        draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
        draw.clrTextBk = GetSysColor(COLOR_WINDOW);
        draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
    }
    return CDRF_NEWFONT;
}

bool MultiSelectTree::OnMouseDown(WPARAM keys, LPARAM lParam)
{
    UINT flags = 0;
    HTREEITEM node = tree_.HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, flags);
    if (!node || (flags & TVHT_ONITEMBUTTON) || !(flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT | TVHT_ONITEMINDENT)))
        return false;
    SetFocus(tree_.Handle());
    Click(node, keys & MK_CONTROL, keys & MK_SHIFT);
    return true;
}

LRESULT MultiSelectTree::OnKeyDown(WPARAM key, LPARAM lParam, bool& handled)
{
    handled = false;
    if (key == 'A' && KeyDown(VK_CONTROL)) {
        SelectAll();
        handled = true;
        return 0;
    }
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_HOME:
    case VK_END:
    case VK_PRIOR:
    case VK_NEXT:
        break;
    default:
        return 0;
    }
    if (KeyDown(VK_CONTROL))
        return 0;  // the tree scrolls without moving the caret
    handled = true;
    const bool shift = KeyDown(VK_SHIFT);
    if (!shift)
        ClearSelection();
    const LRESULT result = DefSubclassProc(tree_.Handle(), WM_KEYDOWN, key, lParam);
    HTREEITEM caret = tree_.Caret();
    if (!caret)
        return result;
    if (shift && anchor_)
        SelectRange(anchor_, caret);
    else {
        tree_.SetSelected(caret, true);
        anchor_ = caret;
    }
    return result;
}

LRESULT CALLBACK MultiSelectTree::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR data)
{
    auto* self = reinterpret_cast<MultiSelectTree*>(data);
    switch (message) {
    case WM_LBUTTONDOWN:
        if (self->OnMouseDown(wParam, lParam))
            return 0;
        break;
    case WM_KEYDOWN: {
        bool handled = false;
        const LRESULT result = self->OnKeyDown(wParam, lParam, handled);
        if (handled)
            return result;
        break;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        self->tree_.Attach(nullptr);
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace platform
