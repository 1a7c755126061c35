// Selection of several nodes of a tree view with the mouse and keyboard, as in Explorer's
// lists: a click selects one node, Ctrl+click adds or takes away one, Shift+click and
// Shift+arrow select the visible nodes between the anchor and the node, Ctrl+A selects all.
// The selection is the TVIS_SELECTED state of the nodes, which the tree view draws.
#pragma once

#include "platform/controls/tree_view.h"

#include <vector>

namespace platform {

class MultiSelectTree {
public:
    MultiSelectTree() = default;
    ~MultiSelectTree();
    MultiSelectTree(const MultiSelectTree&) = delete;
    MultiSelectTree& operator=(const MultiSelectTree&) = delete;

    // Takes over the mouse and keyboard selection of the tree view.
    void Attach(HWND tree);

    // Selected nodes in tree order (a parent before its children).
    std::vector<HTREEITEM> Selection() const;
    void ClearSelection() const;
    void SelectAll() const;
    // Selects the visible nodes between `from` and `to`, both included, and nothing else.
    void SelectRange(HTREEITEM from, HTREEITEM to) const;
    // A click on a node with these modifier keys, as the mouse would give it.
    void Click(HTREEITEM node, bool control, bool shift);

    // Answers the tree's NM_CUSTOMDRAW, which its parent receives, so that every selected
    // node is drawn selected (the control itself may highlight the caret node only).
    LRESULT CustomDraw(NMTVCUSTOMDRAW& draw) const;

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                         DWORD_PTR self);
    bool OnMouseDown(WPARAM keys, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM key, LPARAM lParam, bool& handled);
    // Visits every node in tree order.
    template <typename Visit>
    void ForEachNode(Visit visit) const;

    TreeView tree_;
    HTREEITEM anchor_ = nullptr;
};

}  // namespace platform
