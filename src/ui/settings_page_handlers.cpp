// The handlers of the cleaner settings page: user rules, select all / none, reset to
// defaults, the skipped folders and the history-list box.
#include "platform/drives.h"
#include "platform/path_util.h"
#include "settings_page_ids.h"
#include "ui/settings_page.h"
#include "ui/settings_page_model.h"

namespace ui {

namespace {

constexpr int kInFolderKind = 3;
constexpr int kWithSubfoldersKind = 4;

}  // namespace

void TSettingsPage::SetUserDefines()
{
    for (const TUserRuleControls& controls : rules_) {
        const bool on = controls.tick.Checked();
        controls.kind.Enable(on);
        controls.text.Enable(on);
        controls.method.Enable(on);
    }
}

void TSettingsPage::suiComboBoxChange(int rule)
{
    if (!settings_)
        return;
    app::TUserRulePattern& pattern = settings_->UserRules.at(static_cast<size_t>(rule));
    pattern.Kind = rules_[static_cast<size_t>(rule)].kind.ItemIndex();
    pattern.Text.clear();
    ShowRuleText(rule);
    if (pattern.Kind != kInFolderKind && pattern.Kind != kWithSubfoldersKind)
        return;
    if (const std::optional<std::wstring> folder = AskFolder(L"查找文件夹", L"")) {
        pattern.Text = platform::CheckPath(*folder);
        ShowRuleText(rule);
    }
}

bool TSettingsPage::UserKeyPress(int, wchar_t key)
{
    if (!IsForbiddenRuleChar(key))
        return false;
    if (hooks.ShowMessage)
        hooks.ShowMessage(kForbiddenCharMessage);
    return true;
}

void TSettingsPage::CheckUnCheckSettingsClick(int senderId)
{
    if (!settings_)
        return;
    CheckUnCheckSettings(*settings_, senderId == IDC_SUI_BUTTON29);
    ShowSettings();
    MirrorRunInMainScan();
}

// Erases the category settings in the file and reloads every setting from it. In the drive
// list only, the fixed drives are selected again, except a drive that reaches the host's
// files: a scan there would clean the host.
void TSettingsPage::suiButton16Click()
{
    if (!settings_)
        return;
    app::ResetCategoryDefaults(*settings_, iniPath_);
    if (hooks.SettingsReloaded)
        hooks.SettingsReloaded();
    for (app::TDriveSelection& drive : settings_->Drives)
        drive.Selected = platform::DriveTypeOf(drive.Root) == DRIVE_FIXED && !HostDrive(drive.Root);
    ShowSettings();
    MirrorRunInMainScan();
}

void TSettingsPage::suiButton53Click()
{
    if (!settings_)
        return;
    std::wstring preset;
    const int caret = suiListBox2.CaretIndex();
    if (caret >= 0 && suiListBox2.Selected(caret))
        preset = suiListBox2.ItemText(caret);
    else if (const std::vector<size_t> selected = suiListBox2.SelectedIndices(); !selected.empty())
        preset = suiListBox2.ItemText(static_cast<int>(selected.front()));
    const std::optional<std::wstring> folder = AskFolder(L"请指定要跳过的文件夹", preset);
    if (!folder)
        return;
    app::AddSkipFolder(*settings_, iniPath_, *folder);
    ShowSkipFolders();
}

void TSettingsPage::suiButton54Click()
{
    if (!settings_)
        return;
    app::RemoveSkipFolders(*settings_, iniPath_, suiListBox2.SelectedIndices());
    ShowSkipFolders();
}

void TSettingsPage::suiCheckBox4Click()
{
    if (!settings_)
        return;
    settings_->RunInMainScan = suiCheckBox4.Checked();
    MirrorRunInMainScan();
}

void TSettingsPage::MirrorRunInMainScan()
{
    if (hooks.RunInMainScanChanged)
        hooks.RunInMainScanChanged(settings_->RunInMainScan);
}

std::optional<std::wstring> TSettingsPage::AskFolder(const std::wstring& caption, const std::wstring& preset)
{
    if (!hooks.BrowseForFolder)
        return std::nullopt;
    std::optional<std::wstring> folder = hooks.BrowseForFolder(caption, preset);
    if (folder && folder->empty())
        return std::nullopt;
    return folder;
}

}  // namespace ui
