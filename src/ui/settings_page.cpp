#include "ui/settings_page.h"

#include "dialogs.rh"
#include "platform/drives.h"
#include "platform/folder_dialog.h"
#include "platform/app_title.h"
#include "settings_page_ids.h"
#include "ui/settings_page_model.h"

#include <commctrl.h>
#include <shellapi.h>

#include <stdexcept>
#include <system_error>

namespace ui {

namespace {

// The sheet of each tab; category tabs name their position in scan::SettingsTabs().
struct TSheetTemplate {
    int templateId;
    int categoryTab;  // -1: no category rows
    int rowsTop;      // dialog units
};

constexpr TSheetTemplate kSheets[TSettingsPage::kTabCount] = {
    {IDD_SETTINGS_START, -1, 0},
    {IDD_SETTINGS_ROWS, 0, ROWS_TOP},
    {IDD_SETTINGS_ROWS, 1, ROWS_TOP},
    {IDD_SETTINGS_ROWS, 2, ROWS_TOP},
    {IDD_SETTINGS_ROWS, 3, ROWS_TOP},
    {IDD_SETTINGS_ROWS, 4, ROWS_TOP},
    {IDD_SETTINGS_INSTALLS, 5, INSTALLS_ROWS_TOP},
    {IDD_SETTINGS_OTHER, 6, OTHER_ROWS_TOP},
    {IDD_SETTINGS_USER, -1, 0},
    {IDD_SETTINGS_SKIP, -1, 0},
};

std::wstring TabCaption(int tab)
{
    const int categoryTab = kSheets[tab].categoryTab;
    if (categoryTab >= 0)
        return scan::SettingsTabs()[static_cast<size_t>(categoryTab)].Caption;
    switch (tab) {
    case TSettingsPage::kStartTab: return L"开始";
    case TSettingsPage::kUserTab: return L"自定义";
    default: return L"跳过";
    }
}

constexpr int kDotPixels = 17;
// Height of a combo box's opened list, in dialog units.
constexpr int kDropDownHeight = 80;
constexpr int kMethodDroppedWidth = 220;

}  // namespace

TSettingsPage::TSettingsPage()
{
    hooks.ShowMessage = [this](const std::wstring& text) {
        MessageBoxW(GetAncestor(Handle(), GA_ROOT), text.c_str(), platform::kAppTitle, MB_OK);
    };
    hooks.BrowseForFolder = [this](const std::wstring& caption, const std::wstring& preset) {
        return platform::BrowseForFolder(GetAncestor(Handle(), GA_ROOT), caption, preset);
    };
    hooks.IsHostDrive = [](const std::wstring& root) { return platform::IsHostDrive(root); };
}

TSettingsPage::~TSettingsPage()
{
    if (linkFont_)
        DeleteObject(linkFont_);
}

void TSettingsPage::Bind(app::TSettings& settings, const std::wstring& iniPath)
{
    settings_ = &settings;
    iniPath_ = iniPath;
    if (Handle()) {
        FillDriveList();
        ShowSettings();
    }
}

bool TSettingsPage::OnInit()
{
    suiPageControl2.Attach(Item(IDC_SUI_PAGE_CONTROL2));
    CreateSheets();
    AttachSheetControls();
    CreateCategoryRows();
    CreateUserRules();
    MakeLinkFont();
    SelectTab(kStartTab);
    if (settings_) {
        FillDriveList();
        ShowSettings();
    }
    return false;
}

void TSettingsPage::CreateSheets()
{
    const RECT area = [&] {
        for (int tab = 0; tab < kTabCount; ++tab)
            suiPageControl2.AddTab(TabCaption(tab));
        return suiPageControl2.PageArea();
    }();
    for (const TSheetTemplate& sheetTemplate : kSheets) {
        auto sheet = std::make_unique<TSettingsSheet>();
        sheet->SetSkin(Skin());
        if (!sheet->Create(Handle(), sheetTemplate.templateId))
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "settings tab");
        // Above the tab control, which draws only around the sheets.
        SetWindowPos(sheet->Handle(), HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     SWP_NOACTIVATE);
        sheets_.push_back(std::move(sheet));
    }
}

void TSettingsPage::AttachSheetControls()
{
    const TSettingsSheet& start = Sheet(kStartTab);
    suiListView1.Attach(start.Item(IDC_SUI_LIST_VIEW1));
    suiCheckBox89.Attach(start.Item(IDC_SUI_CHECKBOX89));
    suiCheckBox95.Attach(start.Item(IDC_SUI_CHECKBOX95));
    suiButton16.Attach(start.Item(IDC_SUI_BUTTON16));
    suiButton29.Attach(start.Item(IDC_SUI_BUTTON29));
    suiButton36.Attach(start.Item(IDC_SUI_BUTTON36));
    suiCheckBox4.Attach(Sheet(kInstallsTab).Item(IDC_SUI_CHECKBOX4));
    suiButton53.Attach(Sheet(kSkipTab).Item(IDC_SUI_BUTTON53));
    suiButton54.Attach(Sheet(kSkipTab).Item(IDC_SUI_BUTTON54));
    suiListBox2.Attach(Sheet(kSkipTab).Item(IDC_SUI_LIST_BOX2));

    // The root of each drive is kept as the item's hidden second column.
    suiListView1.InsertColumn(0, L"驱动器", 200);
    suiListView1.InsertColumn(1, L"根目录", 40);
}

void TSettingsPage::MakeLinkFont()
{
    LOGFONTW font{};
    GetObjectW(platform::Window(Handle()).Font(), sizeof font, &font);
    font.lfUnderline = TRUE;
    linkFont_ = CreateFontIndirectW(&font);
    TSettingsSheet& sheet = Sheet(kInstallsTab);
    sheet.AddLink(IDC_REGISTRY_SETTINGS_LINK);
    platform::Window(sheet.Item(IDC_REGISTRY_SETTINGS_LINK)).SetFont(linkFont_);
}

HWND TSettingsPage::CreateControl(const TSettingsSheet& sheet, const wchar_t* className, const std::wstring& text,
                                  DWORD style, int id, RECT dialogUnits) const
{
    MapDialogRect(sheet.Handle(), &dialogUnits);
    HWND control = CreateWindowExW(0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, dialogUnits.left,
                                   dialogUnits.top, dialogUnits.right - dialogUnits.left,
                                   dialogUnits.bottom - dialogUnits.top, sheet.Handle(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (!control)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "settings control");
    platform::Window(control).SetFont(platform::Window(sheet.Handle()).Font());
    return control;
}

// One row per entry of the catalogue's settings tabs: rating dot, tick box, method box.
void TSettingsPage::CreateCategoryRows()
{
    const std::vector<TCategoryRow>& bindings = CategoryRows();
    std::vector<int> rowsOnTab(kTabCount, 0);
    for (size_t n = 0; n < bindings.size(); ++n) {
        const TCategoryRow& binding = bindings[n];
        int tab = 0;
        while (kSheets[tab].categoryTab != binding.Tab)
            ++tab;
        TSettingsSheet& sheet = Sheet(tab);
        const int top = kSheets[tab].rowsTop + rowsOnTab[static_cast<size_t>(tab)]++ * ROW_PITCH;
        const int id = static_cast<int>(n);

        RECT dot{SHEET_LEFT, top, SHEET_LEFT, top + ROW_HEIGHT};
        MapDialogRect(sheet.Handle(), &dot);
        dot.top += (dot.bottom - dot.top - kDotPixels) / 2;
        CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, dot.left, dot.top, kDotPixels,
                        kDotPixels, sheet.Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_ROW_DOT_FIRST + id)),
                        GetModuleHandleW(nullptr), nullptr);
        sheet.AddDot(IDC_ROW_DOT_FIRST + id, binding.Colour);

        Row row{n, {}, {}};
        row.tick.Attach(CreateControl(sheet, L"Button", binding.Setting->TickCaption, BS_AUTOCHECKBOX | WS_TABSTOP,
                                      IDC_ROW_TICK_FIRST + id,
                                      RECT{ROW_TICK_LEFT, top, ROW_TICK_LEFT + ROW_TICK_WIDTH, top + ROW_HEIGHT}));
        row.method.Attach(CreateControl(
            sheet, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_ROW_METHOD_FIRST + id,
            RECT{ROW_METHOD_LEFT, top - 1, ROW_METHOD_LEFT + ROW_METHOD_WIDTH, top - 1 + kDropDownHeight}));
        row.method.SetItems(scan::RemovalMethodItems());
        row.method.SetDroppedWidth(kMethodDroppedWidth);
        rows_.push_back(row);
    }
}

// The ten user rules, one line each: "移除文件", kind, text, method.
void TSettingsPage::CreateUserRules()
{
    TSettingsSheet& sheet = Sheet(kUserTab);
    for (int rule = 0; rule < scan::kUserRuleCount; ++rule) {
        const int top = RULES_TOP + rule * ROW_PITCH;
        TUserRuleControls& controls = rules_[static_cast<size_t>(rule)];
        const scan::TJunkCategory& category = scan::Category(scan::kFirstUserRule + rule);
        controls.tick.Attach(CreateControl(sheet, L"Button", category.Setting.TickCaption, BS_AUTOCHECKBOX | WS_TABSTOP,
                                           IDC_RULE_TICK_FIRST + rule,
                                           RECT{SHEET_LEFT, top, SHEET_LEFT + RULE_TICK_WIDTH, top + ROW_HEIGHT}));
        controls.kind.Attach(CreateControl(
            sheet, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_RULE_KIND_FIRST + rule,
            RECT{RULE_KIND_LEFT, top - 1, RULE_KIND_LEFT + RULE_KIND_WIDTH, top - 1 + kDropDownHeight}));
        controls.kind.SetItems(scan::UserRuleKindItems());
        controls.text.Attach(CreateControl(sheet, L"Edit", L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP,
                                           IDC_RULE_TEXT_FIRST + rule,
                                           RECT{RULE_TEXT_LEFT, top - 1, RULE_TEXT_LEFT + RULE_TEXT_WIDTH, top + ROW_HEIGHT}));
        SetWindowSubclass(controls.text.Handle(), RuleTextProc, static_cast<UINT_PTR>(rule),
                          reinterpret_cast<DWORD_PTR>(this));
        controls.method.Attach(CreateControl(
            sheet, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, IDC_RULE_METHOD_FIRST + rule,
            RECT{RULE_METHOD_LEFT, top - 1, RULE_METHOD_LEFT + RULE_METHOD_WIDTH, top - 1 + kDropDownHeight}));
        controls.method.SetItems(scan::RemovalMethodItems());
        controls.method.SetDroppedWidth(kMethodDroppedWidth);
    }
}

LRESULT CALLBACK TSettingsPage::RuleTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR rule,
                                             DWORD_PTR page)
{
    if (message == WM_CHAR) {
        try {
            if (reinterpret_cast<TSettingsPage*>(page)->UserKeyPress(static_cast<int>(rule), static_cast<wchar_t>(wParam)))
                return 0;
        } catch (...) {
            // The key filter only shows a message; whatever failed there, the key is dropped.
            return 0;
        }
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, RuleTextProc, rule);
    return DefSubclassProc(window, message, wParam, lParam);
}

void TSettingsPage::SelectTab(int index)
{
    suiPageControl2.Select(index);
    for (int tab = 0; tab < kTabCount; ++tab)
        platform::Window(Sheet(tab).Handle()).Show(tab == index);
}

void TSettingsPage::OnSetActive()
{
    ShowSettings();
}

platform::CheckBox TSettingsPage::TickBox(const std::wstring& key) const
{
    for (const Row& row : rows_)
        if (CategoryRows()[row.binding].Setting->EnableKey == key)
            return row.tick;
    return {};
}

platform::ComboBox TSettingsPage::MethodBox(const std::wstring& key) const
{
    for (const Row& row : rows_)
        if (CategoryRows()[row.binding].Setting->EnableKey == key)
            return row.method;
    return {};
}

bool TSettingsPage::HostDrive(const std::wstring& root) const
{
    return hooks.IsHostDrive ? hooks.IsHostDrive(root) : platform::IsHostDrive(root);
}

// One item per drive of the model that the shell describes; the others leave the model,
// so that nothing unseen is scanned.
void TSettingsPage::FillDriveList()
{
    showing_ = true;
    suiListView1.DeleteAllItems();
    driveOfItem_.clear();
    SHFILEINFOW info{};
    const auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    suiListView1.SetSmallImages(images);
    std::vector<app::TDriveSelection> listed;
    for (const app::TDriveSelection& drive : settings_->Drives) {
        SHFILEINFOW drive_info{};
        if (!SHGetFileInfoW(drive.Root.c_str(), 0, &drive_info, sizeof drive_info,
                            SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
            continue;
        const int item = suiListView1.AddItem(DriveCaption(drive_info.szDisplayName, HostDrive(drive.Root)),
                                              drive_info.iIcon);
        suiListView1.SetItemText(item, 1, drive.Root);
        driveOfItem_.push_back(listed.size());
        listed.push_back(drive);
    }
    settings_->Drives = std::move(listed);
    showing_ = false;
}

void TSettingsPage::ShowSettings()
{
    if (!settings_ || !Handle())
        return;
    showing_ = true;
    const app::TSettings& s = *settings_;
    for (const Row& row : rows_) {
        const app::TCategorySetting& target = CategoryRows()[row.binding].Target(s);
        row.tick.SetChecked(target.Enabled);
        row.method.SetItemIndex(target.Method);
    }
    for (int rule = 0; rule < scan::kUserRuleCount; ++rule) {
        const TUserRuleControls& controls = rules_[static_cast<size_t>(rule)];
        const app::TCategorySetting& target = s.Categories[static_cast<size_t>(scan::kFirstUserRule + rule)];
        controls.tick.SetChecked(target.Enabled);
        controls.kind.SetItemIndex(s.UserRules[static_cast<size_t>(rule)].Kind);
        controls.text.SetText(s.UserRules[static_cast<size_t>(rule)].Text);
        controls.method.SetItemIndex(target.Method);
    }
    SetUserDefines();
    suiCheckBox4.SetChecked(s.RunInMainScan);
    suiCheckBox89.SetChecked(s.UseTimeBuffer);
    suiCheckBox95.SetChecked(s.UseNoRemainsDeletion);
    for (int item = 0; item < suiListView1.ItemCount(); ++item)
        suiListView1.SetSelected(item, s.Drives[driveOfItem_[static_cast<size_t>(item)]].Selected);
    showing_ = false;
    ShowSkipFolders();
}

void TSettingsPage::ShowSkipFolders()
{
    suiListBox2.Clear();
    for (const std::wstring& folder : settings_->SkipFolders)
        suiListBox2.AddString(folder);
}

void TSettingsPage::ShowRuleText(int rule)
{
    showing_ = true;
    rules_[static_cast<size_t>(rule)].text.SetText(settings_->UserRules[static_cast<size_t>(rule)].Text);
    showing_ = false;
}

bool TSettingsPage::OnCommand(int id, int code, HWND control)
{
    if (OnRowCommand(id, code) || OnRuleCommand(id, code) || OnSheetCommand(id, code))
        return true;
    return FramePage::OnCommand(id, code, control);
}

bool TSettingsPage::OnRowCommand(int id, int code)
{
    const int count = static_cast<int>(rows_.size());
    const bool tick = id >= IDC_ROW_TICK_FIRST && id < IDC_ROW_TICK_FIRST + count;
    const bool method = id >= IDC_ROW_METHOD_FIRST && id < IDC_ROW_METHOD_FIRST + count;
    if (!tick && !method)
        return false;
    if (!settings_ || showing_)
        return true;
    const Row& row = rows_[static_cast<size_t>(id - (tick ? IDC_ROW_TICK_FIRST : IDC_ROW_METHOD_FIRST))];
    app::TCategorySetting& target = CategoryRows()[row.binding].Target(*settings_);
    if (tick && code == BN_CLICKED)
        target.Enabled = row.tick.Checked();
    if (method && code == CBN_SELCHANGE)
        target.Method = row.method.ItemIndex();
    return true;
}

bool TSettingsPage::OnRuleCommand(int id, int code)
{
    if (id < IDC_RULE_TICK_FIRST || id >= IDC_RULE_METHOD_FIRST + scan::kUserRuleCount)
        return false;
    const int rule = (id - IDC_RULE_TICK_FIRST) % scan::kUserRuleCount;
    const int field = id - rule;
    if (!settings_ || showing_)
        return true;
    const TUserRuleControls& controls = rules_[static_cast<size_t>(rule)];
    app::TCategorySetting& target = settings_->Categories[static_cast<size_t>(scan::kFirstUserRule + rule)];
    if (field == IDC_RULE_TICK_FIRST && code == BN_CLICKED) {
        target.Enabled = controls.tick.Checked();
        SetUserDefines();
    } else if (field == IDC_RULE_KIND_FIRST && code == CBN_SELCHANGE) {
        suiComboBoxChange(rule);
    } else if (field == IDC_RULE_TEXT_FIRST && code == EN_CHANGE) {
        settings_->UserRules[static_cast<size_t>(rule)].Text = controls.text.Text();
    } else if (field == IDC_RULE_METHOD_FIRST && code == CBN_SELCHANGE) {
        target.Method = controls.method.ItemIndex();
    }
    return true;
}

bool TSettingsPage::OnSheetCommand(int id, int code)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_SUI_CHECKBOX89:
        if (settings_)
            settings_->UseTimeBuffer = suiCheckBox89.Checked();
        return true;
    case IDC_SUI_CHECKBOX95:
        if (settings_)
            settings_->UseNoRemainsDeletion = suiCheckBox95.Checked();
        return true;
    case IDC_SUI_CHECKBOX4: suiCheckBox4Click(); return true;
    case IDC_SUI_BUTTON16: suiButton16Click(); return true;
    case IDC_SUI_BUTTON29:
    case IDC_SUI_BUTTON36: CheckUnCheckSettingsClick(id); return true;
    case IDC_SUI_BUTTON53: suiButton53Click(); return true;
    case IDC_SUI_BUTTON54: suiButton54Click(); return true;
    }
    return false;
}

bool TSettingsPage::OnNotify(int id, NMHDR* header, LRESULT& result)
{
    if (id == IDC_SUI_PAGE_CONTROL2 && header->code == TCN_SELCHANGE) {
        SelectTab(suiPageControl2.Selected());
        result = 0;
        return true;
    }
    if (id == IDC_SUI_LIST_VIEW1) {
        if (header->code == LVN_ITEMCHANGED)
            OnDriveItemChanged(*reinterpret_cast<const NMLISTVIEW*>(header));
        result = 0;
        return true;
    }
    return FramePage::OnNotify(id, header, result);
}

// A drive selected or deselected in the list is selected or not in the model at once.
void TSettingsPage::OnDriveItemChanged(const NMLISTVIEW& change)
{
    if (!settings_ || showing_ || !(change.uChanged & LVIF_STATE) || change.iItem < 0 ||
        static_cast<size_t>(change.iItem) >= driveOfItem_.size())
        return;
    if (((change.uNewState ^ change.uOldState) & LVIS_SELECTED) == 0)
        return;
    settings_->Drives[driveOfItem_[static_cast<size_t>(change.iItem)]].Selected = (change.uNewState & LVIS_SELECTED) != 0;
}

}  // namespace ui
