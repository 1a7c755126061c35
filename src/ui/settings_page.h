// The cleaner settings page (page 10): the tab control suiPageControl2 with a sheet per
// tab. "开始" holds the drive list and the general options, " 1 " to "其它" the category
// rows generated from the catalogue, "自定义" the ten user rules, "跳过" the skipped
// folders. Every control edits the bound settings model at once; the page shows the model
// when it is bound and each time it is turned to.
#pragma once

#include "app/settings.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/edit.h"
#include "platform/controls/list_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/tab_control.h"
#include "scan/catalogue.h"
#include "ui/frame_page.h"

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {

struct TSettingsPageHooks {
    // The main window's message box with one "确定" button.
    std::function<void(const std::wstring& text)> ShowMessage;
    // The folder dialog: the chosen folder, or nothing when cancelled.
    std::function<std::optional<std::wstring>(const std::wstring& caption, const std::wstring& preset)> BrowseForFolder;
    // After "重置为默认" has reloaded the model: the rest of the window shows what was read.
    std::function<void()> SettingsReloaded;
    // suiCheckBox4 changed RunInMainScan; its mirror on the registry page follows.
    std::function<void(bool on)> RunInMainScanChanged;
    // Whether a drive reaches the host's files; such a drive is marked in the list and
    // left out of the reset's selection.
    std::function<bool(const std::wstring& root)> IsHostDrive;
};

// The sheet of one tab. Passes its commands up to the page like any page, and draws the
// rating dots of its category rows.
class TSettingsSheet : public FramePage {
public:
    void AddDot(int id, scan::TDotColour colour) { dots_[id] = colour; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void DrawDot(const DRAWITEMSTRUCT& item, scan::TDotColour colour) const;

    std::map<int, scan::TDotColour> dots_;
};

class TSettingsPage : public FramePage {
public:
    static constexpr int kTabCount = 10;
    static constexpr int kStartTab = 0;
    static constexpr int kInstallsTab = 6;
    static constexpr int kUserTab = 8;
    static constexpr int kSkipTab = 9;

    TSettingsPage();
    ~TSettingsPage() override;

    // The model the controls show and edit, and the settings file that the reset and the
    // skipped-folder buttons write at once. Builds the drive list from settings.Drives,
    // keeping there only the drives the list shows.
    void Bind(app::TSettings& settings, const std::wstring& iniPath);
    TSettingsPageHooks hooks;

    void SelectTab(int index);
    TSettingsSheet& Sheet(int index) const { return *sheets_.at(static_cast<size_t>(index)); }

    platform::TabControl suiPageControl2;
    platform::ListView suiListView1;
    platform::CheckBox suiCheckBox89;
    platform::CheckBox suiCheckBox95;
    platform::CheckBox suiCheckBox4;
    platform::Button suiButton16;
    platform::Button suiButton29;
    platform::Button suiButton36;
    platform::Button suiButton53;
    platform::Button suiButton54;
    platform::ListBox suiListBox2;

    // The controls of the category row whose tick box has this settings key.
    platform::CheckBox TickBox(const std::wstring& key) const;
    platform::ComboBox MethodBox(const std::wstring& key) const;

    struct TUserRuleControls {
        platform::CheckBox tick;   // "移除文件"
        platform::ComboBox kind;   // suiComboBox2 .. suiComboBox11
        platform::Edit text;       // suiEdit2 .. suiEdit11
        platform::ComboBox method;
    };
    const TUserRuleControls& UserRule(int rule) const { return rules_.at(static_cast<size_t>(rule)); }

    // Enables each rule's boxes and field exactly when its tick box is ticked.
    void SetUserDefines();
    // A rule's kind changed: the text is cleared, and a folder kind asks for the folder.
    void suiComboBoxChange(int rule);
    // Key filter of the rules' text fields; true when the key is discarded.
    bool UserKeyPress(int rule, wchar_t key);
    // "全部选择" (IDC_SUI_BUTTON29) and "全部不选" (IDC_SUI_BUTTON36).
    void CheckUnCheckSettingsClick(int senderId);
    // "重置为默认".
    void suiButton16Click();
    // "选择要跳过的目录" and "删除选择的项目".
    void suiButton53Click();
    void suiButton54Click();
    void suiCheckBox4Click();

    void OnSetActive() override;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override;

private:
    struct Row {
        size_t binding;  // position in CategoryRows()
        platform::CheckBox tick;
        platform::ComboBox method;
    };

    void CreateSheets();
    void CreateCategoryRows();
    void CreateUserRules();
    void AttachSheetControls();
    HWND CreateControl(const TSettingsSheet& sheet, const wchar_t* className, const std::wstring& text, DWORD style,
                       int id, RECT dialogUnits) const;
    void MakeLinkFont();

    bool OnRowCommand(int id, int code);
    bool OnRuleCommand(int id, int code);
    bool OnSheetCommand(int id, int code);
    void OnDriveItemChanged(const NMLISTVIEW& change);

    void FillDriveList();
    void ShowSettings();
    void ShowSkipFolders();
    void ShowRuleText(int rule);
    std::optional<std::wstring> AskFolder(const std::wstring& caption, const std::wstring& preset);
    bool HostDrive(const std::wstring& root) const;
    void MirrorRunInMainScan();

    static LRESULT CALLBACK RuleTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR rule,
                                         DWORD_PTR page);

    std::vector<std::unique_ptr<TSettingsSheet>> sheets_;
    std::vector<Row> rows_;
    std::array<TUserRuleControls, scan::kUserRuleCount> rules_{};
    std::vector<size_t> driveOfItem_;  // list item -> position in settings.Drives
    HFONT linkFont_ = nullptr;
    app::TSettings* settings_ = nullptr;
    std::wstring iniPath_;
    bool showing_ = false;  // controls are being set from the model
};

}  // namespace ui
