#include "app/settings.h"

#include <windows.h>

#include <algorithm>
#include <functional>

#include "platform/drives.h"
#include "platform/path_util.h"
#include "platform/text.h"

namespace app {

namespace {

constexpr wchar_t kTipsSection[] = L"QuorsComputerTips";
constexpr wchar_t kFormSection[] = L"Form";
constexpr wchar_t kDuplicateSection[] = L"DuplicateFiles";
constexpr wchar_t kSoundSection[] = L"Sound";

constexpr int kMethodCount = 3;
constexpr int kRuleKindCount = 5;
constexpr int kFreqCount = 5;
constexpr int kTypeCount = 3;

// A combo box index: values outside its items leave it with no item chosen.
int ReadItemIndex(const TMemIniFile& ini, const wchar_t* section, const std::wstring& key, int def, int count)
{
    const int value = ini.ReadInteger(section, key, def);
    return value >= 0 && value < count ? value : kNoItem;
}

std::wstring ActionKey(const wchar_t* key) { return std::wstring(key) + L"Action"; }
std::wstring RuleKey(int rule, const wchar_t* suffix) { return L"UserDefined" + std::to_wstring(rule) + suffix; }

// The tick box pairs of [HardDrive] in storage order.
template <typename PairFn, typename RuleFn>
void ForEachHardDrivePair(PairFn onPair, RuleFn onRulePattern)
{
    for (const scan::TJunkCategory& category : scan::Catalogue()) {
        if (category.Section != scan::TSettingsSection::HardDrive)
            continue;
        onPair(category.Index, category.Setting, [&] {
            if (scan::IsUserRule(category.Index))
                onRulePattern(category.Index - scan::kFirstUserRule);
        });
    }
}

void ReadTickBox(const TMemIniFile& ini, const scan::TTickBoxSetting& setting, TCategorySetting& target,
                 const std::function<void()>& between)
{
    target.Enabled = ini.ReadBool(kHardDriveSection, setting.EnableKey, setting.EnableDefault);
    between();
    target.Method = ReadItemIndex(ini, kHardDriveSection, ActionKey(setting.EnableKey), setting.MethodDefault,
                                  kMethodCount);
}

void WriteTickBox(TMemIniFile& ini, const scan::TTickBoxSetting& setting, const TCategorySetting& source,
                  const std::function<void()>& between)
{
    ini.WriteBool(kHardDriveSection, setting.EnableKey, source.Enabled);
    between();
    ini.WriteInteger(kHardDriveSection, ActionKey(setting.EnableKey), source.Method);
}

void ReadDuplicateOptions(const TMemIniFile& ini, TDuplicateFileOptions& o)
{
    const TDuplicateFileOptions d;
    o.RequireSameName = ini.ReadBool(kDuplicateSection, L"RequireSameName", d.RequireSameName);
    o.RequireSameSize = ini.ReadBool(kDuplicateSection, L"RequireSameSize", d.RequireSameSize);
    o.RequireSameDate = ini.ReadBool(kDuplicateSection, L"RequireSameDate", d.RequireSameDate);
    o.TreatDisketteAsMaster = ini.ReadBool(kDuplicateSection, L"TreatDisketteAsMaster", d.TreatDisketteAsMaster);
    o.SkipDesktopFolders = ini.ReadBool(kDuplicateSection, L"SkipDesktopFolders", d.SkipDesktopFolders);
    o.SkipSysbckup = ini.ReadBool(kDuplicateSection, L"SkipSysbckup", d.SkipSysbckup);
    o.SkipEmptyFiles = ini.ReadBool(kDuplicateSection, L"SkipEmptyFiles", d.SkipEmptyFiles);
    o.CompareAll = ini.ReadBool(kDuplicateSection, L"CompareAll", d.CompareAll);
    o.CompareOnlyText = ini.ReadString(kDuplicateSection, L"CompareOnlyText", d.CompareOnlyText);
    o.SkipFolder = ini.ReadString(kDuplicateSection, L"SkipFolder", d.SkipFolder);
    o.RootDir = ini.ReadString(kDuplicateSection, L"RootDir", d.RootDir);
}

void WriteDuplicateOptions(TMemIniFile& ini, const TDuplicateFileOptions& o)
{
    ini.WriteBool(kDuplicateSection, L"RequireSameName", o.RequireSameName);
    ini.WriteBool(kDuplicateSection, L"RequireSameSize", o.RequireSameSize);
    ini.WriteBool(kDuplicateSection, L"RequireSameDate", o.RequireSameDate);
    ini.WriteBool(kDuplicateSection, L"TreatDisketteAsMaster", o.TreatDisketteAsMaster);
    ini.WriteBool(kDuplicateSection, L"SkipDesktopFolders", o.SkipDesktopFolders);
    ini.WriteBool(kDuplicateSection, L"SkipSysbckup", o.SkipSysbckup);
    ini.WriteBool(kDuplicateSection, L"SkipEmptyFiles", o.SkipEmptyFiles);
    ini.WriteBool(kDuplicateSection, L"CompareAll", o.CompareAll);
    ini.WriteString(kDuplicateSection, L"CompareOnlyText", o.CompareOnlyText);
    ini.WriteString(kDuplicateSection, L"SkipFolder", o.SkipFolder);
    ini.WriteString(kDuplicateSection, L"RootDir", o.RootDir);
}

void ReadCategories(const TMemIniFile& ini, TSettings& s)
{
    ForEachHardDrivePair(
        [&](int index, const scan::TTickBoxSetting& setting, const std::function<void()>& between) {
            ReadTickBox(ini, setting, s.Categories[index], between);
            if (index == scan::kIndexDatCategory)
                ReadTickBox(ini, scan::StubbornIndexDatSetting(), s.StubbornIndexDat, [] {});
        },
        [&](int rule) {
            s.UserRules[rule].Kind = ReadItemIndex(ini, kHardDriveUserSection, RuleKey(rule, L"Index"), 0,
                                                   kRuleKindCount);
            s.UserRules[rule].Text = ini.ReadString(kHardDriveUserSection, RuleKey(rule, L"Text"), L"");
        });
}

void WriteCategories(TMemIniFile& ini, const TSettings& s)
{
    ForEachHardDrivePair(
        [&](int index, const scan::TTickBoxSetting& setting, const std::function<void()>& between) {
            WriteTickBox(ini, setting, s.Categories[index], between);
            if (index == scan::kIndexDatCategory)
                WriteTickBox(ini, scan::StubbornIndexDatSetting(), s.StubbornIndexDat, [] {});
        },
        [&](int rule) {
            ini.WriteInteger(kHardDriveUserSection, RuleKey(rule, L"Index"), s.UserRules[rule].Kind);
            ini.WriteString(kHardDriveUserSection, RuleKey(rule, L"Text"), s.UserRules[rule].Text);
        });
}

// The registry categories in [RegClean] order (their index order).
template <typename Fn>
void ForEachRegistryCategory(Fn fn)
{
    for (int i = 0; i < scan::kRegistryCategoryCount; ++i) {
        const int index = scan::kFirstRegistryCategory + i;
        fn(index, scan::Category(index).Setting);
    }
}

// A skipped folder's key. Keys are full paths ending in a backslash; a path that itself
// holds '=' was split at it when read, so join it back up to its last backslash.
std::wstring SkipFolderFromLine(const std::wstring& key, const std::wstring& value)
{
    if (value.empty() || (!key.empty() && key.back() == L'\\'))
        return key;
    const std::wstring whole = key + L"=" + value;
    for (size_t eq = whole.size(); eq-- > key.size();)
        if (whole[eq] == L'=' && whole[eq - 1] == L'\\')
            return whole.substr(0, eq);
    return key;
}

std::vector<std::wstring> ReadSkipFolders(const TMemIniFile& ini)
{
    std::vector<std::wstring> folders;
    for (const auto& [key, value] : ini.ReadSectionValues(kSkipFoldersSection))
        folders.push_back(SkipFolderFromLine(key, value));
    return folders;
}

void StoreSkipFolders(const std::wstring& iniPath, const std::vector<std::wstring>& folders)
{
    TMemIniFile ini(iniPath);
    ini.EraseSection(kSkipFoldersSection);
    for (const std::wstring& folder : folders)
        ini.WriteString(kSkipFoldersSection, folder, L"");
    ini.Save();
}

void LoadFrom(const TMemIniFile& ini, TSettings& settings)
{
    TSettings s = settings;

    s.PromptForEmail = ini.ReadBool(kTipsSection, L"PromptForEmail", true);
    s.Skin = ini.ReadInteger(kFormSection, L"Skin", 3);
    if (s.Skin < 0 || s.Skin > 5)
        s.Skin = 3;
    ReadDuplicateOptions(ini, s.DuplicateFiles);
    ReadCategories(ini, s);

    ForEachRegistryCategory([&](int index, const scan::TTickBoxSetting& setting) {
        s.Categories[index].Enabled = ini.ReadBool(kRegCleanSection, setting.EnableKey, setting.EnableDefault);
    });
    s.RunInMainScan = ini.ReadBool(kHardDriveSection, L"RunInMainScan", false);
    s.UseTimeBuffer = ini.ReadBool(kHardDriveSection, L"UseTimeBuffer", true);
    s.UseNoRemainsDeletion = ini.ReadBool(kHardDriveSection, L"UseNoRemainsDeletion", false);

    s.SkipFolders = ReadSkipFolders(ini);
    s.SoundOn = ini.ReadBool(kSoundSection, L"On", false);

    s.AutoRun.Close = ini.ReadBool(kAutoRunSection, L"Close", false);
    s.AutoRun.ShutDown = ini.ReadBool(kAutoRunSection, L"ShutDown", false);
    s.AutoRun.Freq = ini.ReadInteger(kAutoRunSection, L"Freq", 4);
    s.AutoRun.Type = ini.ReadInteger(kAutoRunSection, L"Type", 0);
    s.AutoRun.SkipWindowsDefenderinVista = ini.ReadBool(kAutoRunSection, L"SkipWindowsDefenderinVista", false);

    settings = std::move(s);
}

}  // namespace

std::array<TCategorySetting, scan::kCategoryCount> DefaultCategorySettings()
{
    std::array<TCategorySetting, scan::kCategoryCount> settings{};
    for (const scan::TJunkCategory& category : scan::Catalogue()) {
        settings[category.Index].Enabled = category.Setting.EnableDefault;
        settings[category.Index].Method = category.Setting.MethodKey ? category.Setting.MethodDefault : scan::rmDelete;
    }
    return settings;
}

bool CategoryEnabled(const TSettings& settings, int index)
{
    if (index == scan::kIndexDatCategory && settings.StubbornIndexDat.Enabled)
        return true;
    return settings.Categories.at(index).Enabled;
}

std::wstring SettingsFilePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return platform::FolderPart(path) + kSettingsFileName;
}

void ReadSettings(TSettings& settings, const std::wstring& iniPath)
{
    TMemIniFile ini(iniPath);
    LoadFrom(ini, settings);
    ini.Save();
}

void LoadSettings(TSettings& settings, const std::wstring& iniPath)
{
    LoadFrom(TMemIniFile(iniPath), settings);
}

void WriteSettings(const TSettings& s, const std::wstring& iniPath)
{
    TMemIniFile ini(iniPath);
    ini.WriteBool(kTipsSection, L"PromptForEmail", s.PromptForEmail);
    ini.WriteInteger(kFormSection, L"Skin", s.Skin);
    WriteDuplicateOptions(ini, s.DuplicateFiles);
    WriteCategories(ini, s);
    ini.WriteBool(kSoundSection, L"On", s.SoundOn);
    ForEachRegistryCategory([&](int index, const scan::TTickBoxSetting& setting) {
        ini.WriteBool(kRegCleanSection, setting.EnableKey, s.Categories[index].Enabled);
    });
    ini.WriteBool(kHardDriveSection, L"RunInMainScan", s.RunInMainScan);
    ini.WriteBool(kHardDriveSection, L"UseTimeBuffer", s.UseTimeBuffer);
    ini.WriteBool(kHardDriveSection, L"UseNoRemainsDeletion", s.UseNoRemainsDeletion);

    ini.WriteBool(kAutoRunSection, L"Close", s.AutoRun.Close);
    ini.WriteBool(kAutoRunSection, L"ShutDown", s.AutoRun.ShutDown);
    ini.WriteBool(kAutoRunSection, L"SkipWindowsDefenderinVista", s.AutoRun.SkipWindowsDefenderinVista);
    // Only a value that ticks a menu item is written; any other stays in the file as it is.
    if (s.AutoRun.Freq >= 0 && s.AutoRun.Freq < kFreqCount)
        ini.WriteInteger(kAutoRunSection, L"Freq", s.AutoRun.Freq);
    if (s.AutoRun.Type >= 0 && s.AutoRun.Type < kTypeCount)
        ini.WriteInteger(kAutoRunSection, L"Type", s.AutoRun.Type);

    for (const TDriveSelection& drive : s.Drives)
        ini.WriteBool(kDrivesSelectedSection, platform::Upper(drive.Root), drive.Selected);
    ini.Save();
}

bool ReadDriveSelected(const TMemIniFile& ini, const std::wstring& root, bool defaultSelected)
{
    return ini.ReadBool(kDrivesSelectedSection, platform::Upper(root), defaultSelected);
}

std::vector<TDriveSelection> ReadDriveSelection(const TMemIniFile& ini)
{
    std::vector<TDriveSelection> drives;
    for (const std::wstring& root : platform::LogicalDriveStrings()) {
        const std::wstring upperRoot = platform::Upper(root);
        drives.push_back({upperRoot, ReadDriveSelected(ini, upperRoot, platform::DefaultDriveSelected(root))});
    }
    return drives;
}

void AddSkipFolder(TSettings& settings, const std::wstring& iniPath, const std::wstring& folder)
{
    const std::wstring path = platform::CheckPath(folder);
    TMemIniFile ini(iniPath);
    ini.WriteString(kSkipFoldersSection, path, L"");
    ini.Save();
    settings.SkipFolders.push_back(path);
}

void RemoveSkipFolders(TSettings& settings, const std::wstring& iniPath, const std::vector<size_t>& positions)
{
    std::vector<std::wstring> kept;
    for (size_t i = 0; i < settings.SkipFolders.size(); ++i)
        if (std::find(positions.begin(), positions.end(), i) == positions.end())
            kept.push_back(settings.SkipFolders[i]);
    StoreSkipFolders(iniPath, kept);
    settings.SkipFolders = std::move(kept);
}

void ResetCategoryDefaults(TSettings& settings, const std::wstring& iniPath)
{
    TMemIniFile ini(iniPath);
    ini.EraseSection(kHardDriveSection);
    ini.Save();
    ReadSettings(settings, iniPath);
}

}  // namespace app
