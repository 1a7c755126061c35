// The results page: the tree of findings grouped by category, the totals above it and the
// print, skip and clean buttons. Several nodes can be selected with Ctrl and Shift.
#pragma once

#include "platform/controls/button.h"
#include "platform/controls/multi_select_tree.h"
#include "platform/controls/tree_view.h"
#include "ui/frame_page.h"

#include <commctrl.h>

#include <functional>

namespace ui {

class TResultsPage : public FramePage {
public:
    ~TResultsPage() override;

    platform::TreeView TreeView1;
    platform::MultiSelectTree TreeSelection;
    platform::Window Label2;   // count of problems
    platform::Window Label3;   // "个问题已找到"
    platform::Window Label95;  // size of the files found
    platform::Window Label96;  // "占用" + size
    platform::Button suiButton6;   // "打印列表"
    platform::Button suiButton38;  // "总是跳过该项目"
    platform::Button suiButton11;  // "不清理该项目"
    platform::Button Button2;      // "清理"
    platform::Window Label88;       // removal progress text
    platform::Window ProgressBar1;  // removal progress

    // The buttons' clicks.
    struct TCommands {
        std::function<void()> suiButton6Click;
        std::function<void()> suiButton38Click;
        std::function<void()> suiButton11Click;
        std::function<void()> Button2Click;
        // A node of TreeView1 is about to open.
        std::function<void(HTREEITEM node)> TreeView1Expanding;
    } Commands;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;

private:
    HIMAGELIST safetyImages_ = nullptr;
};

}  // namespace ui
