// The scan page: the category list with the status and count of every category, the folder
// being searched, the running count of problems and the stop button.
#pragma once

#include "platform/controls/button.h"
#include "platform/controls/list_view.h"
#include "scan/results.h"
#include "ui/frame_page.h"

#include <functional>

namespace ui {

class TScanPage : public FramePage {
public:
    // Column order of ListView1.
    enum TColumn { kCaptionColumn = 0, kStatusColumn = 1, kCountColumn = 2 };

    platform::ListView ListView1;
    platform::Window Label17;  // folder being searched or progress line
    platform::Window Label14;  // count of problems
    platform::Window Label11;  // "个问题"
    platform::Button suiButton9;  // stop

    // The stop button's click.
    std::function<void()> suiButton9Click;

    // Shows a category row's status and count cells (empty while the row has none).
    void ShowRow(int index, const scan::TCategoryRow& row) const;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
};

}  // namespace ui
