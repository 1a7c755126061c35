// The fixed table of the 91 junk categories and the texts that go with it.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace scan {

constexpr int kCategoryCount = 91;
constexpr int kFirstUserRule = 24;  // categories 24..33 are the ten user-defined rules
constexpr int kUserRuleCount = 10;
constexpr int kFirstRegistryCategory = 72;  // categories 72..84 are registry history lists
constexpr int kRegistryCategoryCount = 13;
constexpr int kIndexDatCategory = 69;

// Scan modes.
constexpr int kScanCleanPC = 0;
constexpr int kScanRemoveTracks = 1;
constexpr int kScanCustom = 2;
constexpr int kScanRegistry = 3;

enum TModeRule { mrAll, mrCleanPC, mrTracks, mrCustom, mrRegistry };

// Removal methods: the item index of a category's method box.
enum TRemovalMethod { rmDelete = 0, rmZipWeekly = 1, rmZipKeep = 2 };

// How the tail of a group caption is joined (see GroupCaption).
enum class TCaptionForm { A, B, C };

enum class TSettingsSection { HardDrive, RegClean };

// Where findings come from. Masks of walk kinds are ';'-separated name patterns;
// a special location's Masks names the location when it is a fixed one.
enum class TSourceKind {
    WalkFiles,    // files whose name matches one of the masks
    WalkTest,     // the walk with a test of its own (masks narrow the candidates, if any)
    WalkFolders,  // folders whose name matches one of the masks, with their contents
    Special,      // a location the scan driver searches by itself
    UserRule,     // the user's rule of the same number
    Registry,     // a registry history list
};

enum class TDotColour { Green, Yellow, Red };

// One tick box of the settings pages with its settings keys.
struct TTickBoxSetting {
    const wchar_t* EnableKey;
    bool EnableDefault;
    const wchar_t* MethodKey;  // nullptr: no method box
    int MethodDefault;
    const wchar_t* TickBox;
    const wchar_t* TickCaption;
    const wchar_t* MethodBox;  // nullptr: no method box
};

struct TJunkCategory {
    int Index;
    const wchar_t* RowCaption;
    const wchar_t* GroupPrefix;  // nullptr for user rules: built from the rule text
    int SafetyLevel;             // 1..5
    const wchar_t* Description;
    TCaptionForm CaptionForm;
    TTickBoxSetting Setting;
    TSettingsSection Section;
    TModeRule ModeRule;
    TSourceKind Source;
    const wchar_t* Masks;
};

struct TSettingsRow {
    const wchar_t* Key;  // enable key of the row's tick box
    TDotColour Colour;
};

struct TSettingsTab {
    const wchar_t* Caption;
    std::span<const TSettingsRow> Rows;
};

std::span<const TJunkCategory> Catalogue();
// The category of an index 0..90; throws std::out_of_range otherwise.
const TJunkCategory& Category(int index);

// Category 69's second tick box, "Stubbornindex.dat".
const TTickBoxSetting& StubbornIndexDatSetting();

// The tick box whose enable key is `key` (case-insensitive), nullptr when none.
const TTickBoxSetting* FindTickBoxSetting(const std::wstring& key);

// The category tabs of the cleaner settings pages (" 1 " .. " 5 ", "6", "其它") with their rows.
std::span<const TSettingsTab> SettingsTabs();

// Text of a safety level 1..5 as the group caption quotes it; empty for other levels.
const wchar_t* SafetyText(int level);

std::span<const wchar_t* const> RemovalMethodItems();
std::span<const wchar_t* const> UserRuleKindItems();

bool IsUserRule(int index);
bool IsRegistryCategory(int index);

// Whether the category takes part in a scan of `scanMode`. `enabled` is the state of its
// tick box (for 69, of either tick box).
bool CategoryTaken(int index, int scanMode, bool enabled, bool runInMainScan);

// Beginning of the group node caption, ending in " (". `userRuleText` counts only for
// the user rules.
std::wstring GroupCaptionPrefix(int index, const std::wstring& userRuleText = {});

// Caption of the group node holding `count` findings.
std::wstring GroupCaption(int index, int count, const std::wstring& userRuleText = {});

// The masks of a category split at ';'.
std::vector<std::wstring> SourceMasks(const TJunkCategory& category);

}  // namespace scan
