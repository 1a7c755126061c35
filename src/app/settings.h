// The settings model and its storage in the settings file "Trimdex.ini".
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/ini_file.h"
#include "scan/catalogue.h"

namespace app {

inline constexpr wchar_t kSettingsFileName[] = L"Trimdex.ini";
inline constexpr wchar_t kHardDriveSection[] = L"HardDrive";
inline constexpr wchar_t kHardDriveUserSection[] = L"HardDriveUser";
inline constexpr wchar_t kRegCleanSection[] = L"RegClean";
inline constexpr wchar_t kSkipFoldersSection[] = L"SkipFolders";
inline constexpr wchar_t kAutoRunSection[] = L"AutoRun";
inline constexpr wchar_t kDrivesSelectedSection[] = L"DrivesSelected";

// Item index of a combo box that has no item chosen.
constexpr int kNoItem = -1;

// A category's tick box and removal method (a scan::TRemovalMethod or kNoItem).
struct TCategorySetting {
    bool Enabled = false;
    int Method = kNoItem;
};

// The pattern part of a user-defined rule: its kind (0..4 or kNoItem) and text.
struct TUserRulePattern {
    int Kind = 0;
    std::wstring Text;
};

struct TDuplicateFileOptions {
    bool RequireSameName = false;
    bool RequireSameSize = true;
    bool RequireSameDate = true;
    bool TreatDisketteAsMaster = true;
    bool SkipDesktopFolders = true;
    bool SkipSysbckup = true;
    bool SkipEmptyFiles = true;
    bool CompareAll = true;
    std::wstring CompareOnlyText;
    std::wstring SkipFolder;
    std::wstring RootDir;
};

struct TAutoRunOptions {
    bool Close = false;
    bool ShutDown = false;
    int Freq = 4;  // 0 daily .. 3 monthly, 4 never; any other value ticks no item
    int Type = 0;  // 0 Clean PC, 1 Remove tracks, 2 Run custom settings
    bool SkipWindowsDefenderinVista = false;
};

struct TDriveSelection {
    std::wstring Root;  // as Windows reports it, e.g. C:\ .
    bool Selected = false;
};

// The tick boxes of all categories with their defaults, by category index.
std::array<TCategorySetting, scan::kCategoryCount> DefaultCategorySettings();

struct TSettings {
    bool PromptForEmail = true;
    int Skin = 3;
    TDuplicateFileOptions DuplicateFiles;
    // By category index. The user rules' tick boxes and methods are Categories[24..33];
    // the registry categories 72..84 hold the [RegClean] flags and always delete.
    std::array<TCategorySetting, scan::kCategoryCount> Categories = DefaultCategorySettings();
    TCategorySetting StubbornIndexDat = {false, scan::rmDelete};
    std::array<TUserRulePattern, scan::kUserRuleCount> UserRules{};
    bool RunInMainScan = false;
    bool UseTimeBuffer = true;
    bool UseNoRemainsDeletion = false;
    std::vector<std::wstring> SkipFolders;  // full paths with a trailing backslash
    bool SoundOn = false;
    TAutoRunOptions AutoRun;
    std::vector<TDriveSelection> Drives;  // filled by the drive list, stored by WriteSettings
};

// Whether a category's tick box is ticked; category 69 also counts its stubborn tick box.
bool CategoryEnabled(const TSettings& settings, int index);

// The settings file beside the program: its folder followed by "Trimdex.ini".
std::wstring SettingsFilePath();

// Loads every setting that ReadSettings owns (not the drive selection) and saves the file,
// so a missing file is created. On a file that cannot be read the model is left alone.
void ReadSettings(TSettings& settings, const std::wstring& iniPath);

// Loads the same settings as ReadSettings but leaves the file as it is.
void LoadSettings(TSettings& settings, const std::wstring& iniPath);

// Stores every setting it owns, keeping the file's other keys, and saves.
void WriteSettings(const TSettings& settings, const std::wstring& iniPath);

// Whether the drive `root` is stored as selected; `defaultSelected` when it has no key.
bool ReadDriveSelected(const TMemIniFile& ini, const std::wstring& root, bool defaultSelected);

// The drive list: every logical drive in the system's order, selected as stored, or by
// default when the file has no key for it.
std::vector<TDriveSelection> ReadDriveSelection(const TMemIniFile& ini);

// Adds a folder (a trailing backslash is added) to the end of the skipped folders and
// stores its key at once. No duplicate check.
void AddSkipFolder(TSettings& settings, const std::wstring& iniPath, const std::wstring& folder);

// Removes the skipped folders at the given list positions and rewrites [SkipFolders].
void RemoveSkipFolders(TSettings& settings, const std::wstring& iniPath, const std::vector<size_t>& positions);

// Erases [HardDrive] in the file, saves, and reloads the model from the file: every
// category, user rule tick box and method and the three general options return to their
// defaults; rule kinds and texts, [RegClean] and the other sections keep their saved state.
void ResetCategoryDefaults(TSettings& settings, const std::wstring& iniPath);

}  // namespace app
