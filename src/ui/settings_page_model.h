// What the cleaner settings pages do to the settings model, apart from any window: the
// category rows generated from the catalogue's settings tabs, select all / none, the key
// filter of the user rules' text fields and the captions of the drive list.
#pragma once

#include "app/settings.h"
#include "scan/catalogue.h"

#include <string>
#include <vector>

namespace ui {

// One category row of the settings tabs, bound to its tick box in the model.
struct TCategoryRow {
    int Tab;       // position in scan::SettingsTabs()
    int Category;  // catalogue index
    bool Stubborn; // category 69's second tick box ("Stubbornindex.dat")
    scan::TDotColour Colour;
    const scan::TTickBoxSetting* Setting;

    app::TCategorySetting& Target(app::TSettings& settings) const;
    const app::TCategorySetting& Target(const app::TSettings& settings) const;
};

// The rows of every category tab in tab order, top to bottom. Throws std::logic_error
// for a row whose key names no tick box of the catalogue.
const std::vector<TCategoryRow>& CategoryRows();

// "全部选择" (on) and "全部不选" (off): every category row and RunInMainScan take `on`;
// "全部不选" also unticks the ten user rules. Methods, drives and the other options stay.
void CheckUnCheckSettings(app::TSettings& settings, bool on);

// A typed character that the user rules' text fields refuse: " / : < > \ |.
bool IsForbiddenRuleChar(wchar_t key);
inline constexpr wchar_t kForbiddenCharMessage[] = L"该文本框中不能输入此字符";

// The drive list's caption of a drive: the shell's name, with a note when the drive is the
// host's file system, which a scan would walk and clean.
inline constexpr wchar_t kHostDriveNote[] = L"  (Linux 主机文件系统)";
std::wstring DriveCaption(const std::wstring& displayName, bool hostDrive);

}  // namespace ui
