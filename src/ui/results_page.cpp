#include "ui/results_page.h"

#include "scan_pages_ids.h"
#include "ui/safety_images.h"

namespace ui {

TResultsPage::~TResultsPage()
{
    if (safetyImages_)
        ImageList_Destroy(safetyImages_);
}

bool TResultsPage::OnInit()
{
    TreeView1.Attach(Item(IDC_TREE_VIEW1));
    Label2.Attach(Item(IDC_LABEL2));
    Label3.Attach(Item(IDC_LABEL3));
    Label95.Attach(Item(IDC_LABEL95));
    Label96.Attach(Item(IDC_LABEL96));
    suiButton6.Attach(Item(IDC_SUI_BUTTON6));
    suiButton38.Attach(Item(IDC_SUI_BUTTON38));
    suiButton11.Attach(Item(IDC_SUI_BUTTON11));
    Button2.Attach(Item(IDC_BUTTON2));
    Label88.Attach(Item(IDC_LABEL88));
    ProgressBar1.Attach(Item(IDC_PROGRESS_BAR1));

    safetyImages_ = MakeSafetyImages();
    TreeView1.SetStateImageList(safetyImages_);
    TreeSelection.Attach(TreeView1.Handle());
    return false;
}

bool TResultsPage::OnCommand(int id, int code, HWND control)
{
    const std::function<void()>* command = nullptr;
    switch (id) {
    case IDC_SUI_BUTTON6: command = &Commands.suiButton6Click; break;
    case IDC_SUI_BUTTON38: command = &Commands.suiButton38Click; break;
    case IDC_SUI_BUTTON11: command = &Commands.suiButton11Click; break;
    case IDC_BUTTON2: command = &Commands.Button2Click; break;
    default: return FramePage::OnCommand(id, code, control);
    }
    if (code == BN_CLICKED && *command)
        (*command)();
    return true;
}

bool TResultsPage::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (id == IDC_TREE_VIEW1 && header->code == TVN_ITEMEXPANDINGW) {
        const auto* change = reinterpret_cast<const NMTREEVIEWW*>(header);
        if ((change->action & TVE_EXPAND) && Commands.TreeView1Expanding)
            Commands.TreeView1Expanding(change->itemNew.hItem);
        result = FALSE;
        return true;
    }
    if (id == IDC_TREE_VIEW1 && header->code == NM_CUSTOMDRAW) {
        result = TreeSelection.CustomDraw(*reinterpret_cast<NMTVCUSTOMDRAW*>(header));
        return true;
    }
    return FramePage::OnNotify(id, header, result);
}

}  // namespace ui
