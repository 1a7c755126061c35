#include "ui/scan_page.h"

#include "scan/catalogue.h"
#include "scan_pages_ids.h"

#include <string>

namespace ui {

namespace {

constexpr int kStatusWidth = 96;
constexpr int kCountWidth = 72;

}  // namespace

bool TScanPage::OnInit()
{
    ListView1.Attach(Item(IDC_LIST_VIEW1));
    Label17.Attach(Item(IDC_LABEL17));
    Label14.Attach(Item(IDC_LABEL14));
    Label11.Attach(Item(IDC_LABEL11));
    suiButton9.Attach(Item(IDC_SUI_BUTTON9));

    ListView1.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    const int width = ListView1.ClientRect().right - GetSystemMetrics(SM_CXVSCROLL);
    ListView1.InsertColumn(kCaptionColumn, L"垃圾类型", width - kStatusWidth - kCountWidth);
    ListView1.InsertColumn(kStatusColumn, L"状态", kStatusWidth);
    ListView1.InsertColumn(kCountColumn, L"问题数", kCountWidth);
    for (const scan::TJunkCategory& category : scan::Catalogue())
        ListView1.AddItem(category.RowCaption);
    return false;
}

void TScanPage::ShowRow(int index, const scan::TCategoryRow& row) const
{
    ListView1.SetItemText(index, kStatusColumn, scan::RowStatusText(row.Status));
    ListView1.SetItemText(index, kCountColumn, row.HasCount() ? std::to_wstring(row.Count) : std::wstring());
}

bool TScanPage::OnCommand(int id, int code, HWND control)
{
    if (id == IDC_SUI_BUTTON9 && code == BN_CLICKED) {
        if (suiButton9Click)
            suiButton9Click();
        return true;
    }
    return FramePage::OnCommand(id, code, control);
}

}  // namespace ui
