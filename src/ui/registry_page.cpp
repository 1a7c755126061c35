#include "ui/registry_page.h"

#include "dialogs.rh"
#include "registry_page_ids.h"
#include "scan/catalogue.h"

#include <shellapi.h>

namespace ui {

TRegistryPage::TRegistryPage()
{
    hooks.OpenWebPage = [this](const std::wstring& address) {
        ShellExecuteW(GetParent(Handle()), nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
}

void TRegistryPage::Bind(app::TSettings& settings)
{
    settings_ = &settings;
    if (Handle())
        ShowSettings();
}

bool TRegistryPage::OnInit()
{
    suiCheckBox81.Attach(Item(IDC_SUI_CHECKBOX81));
    suiButton31.Attach(Item(IDC_SUI_BUTTON31));
    CreateRows();
    ShowSettings();
    ShowAvailableWork();
    return false;
}

// One row per registry category of the catalogue, in scan order.
void TRegistryPage::CreateRows()
{
    for (int i = 0; i < scan::kRegistryCategoryCount; ++i) {
        const int category = scan::kFirstRegistryCategory + i;
        const int top = REGISTRY_ROWS_TOP + i * REGISTRY_ROW_PITCH;
        Row row{category, {}, {}};
        row.tick.Attach(CreateRowControl(L"Button", scan::Category(category).Setting.TickCaption,
                                         BS_AUTOCHECKBOX | WS_TABSTOP, IDC_REGISTRY_TICK_FIRST + i,
                                         RECT{MARGIN, top, MARGIN + REGISTRY_TICK_WIDTH, top + REGISTRY_ROW_HEIGHT}));
        row.list.Attach(CreateRowControl(
            L"Button", L"列出项目", BS_PUSHBUTTON | WS_TABSTOP, IDC_REGISTRY_LIST_FIRST + i,
            RECT{REGISTRY_LIST_LEFT, top, REGISTRY_LIST_LEFT + REGISTRY_LIST_WIDTH, top + REGISTRY_ROW_HEIGHT}));
        rows_.push_back(row);
    }
}

HWND TRegistryPage::CreateRowControl(const wchar_t* className, const std::wstring& text, DWORD style, int id,
                                     RECT dialogUnits) const
{
    MapDialogRect(Handle(), &dialogUnits);
    HWND control = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, dialogUnits.left,
                                   dialogUnits.top, dialogUnits.right - dialogUnits.left,
                                   dialogUnits.bottom - dialogUnits.top, Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    platform::Window(control).SetFont(platform::Window(Handle()).Font());
    return control;
}

void TRegistryPage::OnSetActive()
{
    ShowSettings();
    ShowAvailableWork();
}

void TRegistryPage::ShowSettings()
{
    if (!settings_)
        return;
    for (const Row& row : rows_)
        row.tick.SetChecked(settings_->Categories[static_cast<size_t>(row.category)].Enabled);
    suiCheckBox81.SetChecked(settings_->RunInMainScan);
}

void TRegistryPage::ShowAvailableWork()
{
    suiButton31.Enable(static_cast<bool>(hooks.CleanTickedLists));
    for (const Row& row : rows_)
        row.list.Enable(static_cast<bool>(hooks.ListItems));
}

const TRegistryPage::Row* TRegistryPage::RowAt(int category) const
{
    for (const Row& row : rows_)
        if (row.category == category)
            return &row;
    return nullptr;
}

platform::CheckBox TRegistryPage::TickBox(int category) const
{
    const Row* row = RowAt(category);
    return row ? row->tick : platform::CheckBox();
}

platform::Button TRegistryPage::ListButton(int category) const
{
    const Row* row = RowAt(category);
    return row ? row->list : platform::Button();
}

void TRegistryPage::suiButton31Click()
{
    if (hooks.CleanTickedLists)
        hooks.CleanTickedLists();
}

void TRegistryPage::suiCheckBox81Click()
{
    if (!settings_)
        return;
    settings_->RunInMainScan = suiCheckBox81.Checked();
    if (hooks.RunInMainScanChanged)
        hooks.RunInMainScanChanged(settings_->RunInMainScan);
}

bool TRegistryPage::OnCommand(int id, int code, HWND control)
{
    // Buttons and notifying labels both send code 0 when clicked.
    if (code == BN_CLICKED && (OnRowCommand(id) || OnPageCommand(id)))
        return true;
    return FramePage::OnCommand(id, code, control);
}

bool TRegistryPage::OnRowCommand(int id)
{
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Row& row = rows_[i];
        if (id == IDC_REGISTRY_TICK_FIRST + static_cast<int>(i)) {
            if (settings_)
                settings_->Categories[static_cast<size_t>(row.category)].Enabled = row.tick.Checked();
            return true;
        }
        if (id == IDC_REGISTRY_LIST_FIRST + static_cast<int>(i)) {
            if (hooks.ListItems)
                hooks.ListItems(row.category);
            return true;
        }
    }
    return false;
}

bool TRegistryPage::OnPageCommand(int id)
{
    switch (id) {
    case IDC_SUI_CHECKBOX81:
        suiCheckBox81Click();
        return true;
    case IDC_SUI_BUTTON31:
        suiButton31Click();
        return true;
    case IDC_REGLOOM_LINK:
        if (hooks.OpenWebPage)
            hooks.OpenWebPage(kRegloomAddress);
        return true;
    }
    return false;
}

}  // namespace ui
