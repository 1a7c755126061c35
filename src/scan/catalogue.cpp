#include "scan/catalogue.h"

#include <stdexcept>

#include "platform/text.h"

namespace scan {

namespace {

using enum TDotColour;

constexpr TSettingsRow kTab1[] = {
    {L"EndTMP", Green},      {L"EndBAK", Green},      {L"Start~", Green},       {L"EndGID", Green},
    {L"EndOLD", Green},      {L"End000", Yellow},     {L"EndCHK", Green},       {L"TempFolders", Green},
    {L"0Size", Green},       {L"EmptyFolder", Yellow}, {L"StartCopyOf", Green}, {L"StartBackup_of_", Green},
};
constexpr TSettingsRow kTab2[] = {
    {L"Since1999", Red},        {L"Since2000", Red},         {L"Since2001", Red},
    {L"Since2002", Red},        {L"BadShortcuts", Green},    {L"Shortcuts2Web", Red},
    {L"Shortcuts2Disk", Red},   {L"RecycleBin", Green},      {L"RecentList", Green},
    {L"InternetCache", Green},  {L"InternetHistory", Yellow}, {L"InternetCookies", Yellow},
};
constexpr TSettingsRow kTab3[] = {
    {L"EndDMP", Yellow}, {L"EndFTS", Yellow}, {L"End~MP", Green}, {L"End$$$", Green},
    {L"EndTEMP", Green}, {L"EndCPY", Yellow}, {L"End??$", Yellow}, {L"End~*", Green},
    {L"End_MP", Green},  {L"EndSYD", Green},  {L"EndERR", Green},  {L"End??~", Green},
};
constexpr TSettingsRow kTab4[] = {
    {L"End_DETMP", Green}, {L"EndDD_", Green}, {L"End___", Yellow},   {L"End$DB", Green},
    {L"End---", Green},    {L"End~$~", Green}, {L"EndBK?", Green},    {L"EndDB$", Green},
    {L"EndMS", Yellow},    {L"End0*.NCH", Green}, {L"EndWBK", Yellow}, {L"End?~?", Green},
};
constexpr TSettingsRow kTab5[] = {
    {L"Spool", Green},           {L"JunoAds", Green},          {L"FastFind", Green},
    {L"index.dat", Green},       {L"Stubbornindex.dat", Yellow}, {L"desktop.ini", Yellow},
    {L"OnlineServ", Green},      {L"OldRestore", Green},       {L"OldWinUpdates", Green},
    {L"DeletedIEEmails", Yellow}, {L"DownloadInstalls", Yellow}, {L"InternetLogs", Yellow},
};
constexpr TSettingsRow kTab6[] = {
    {L"Installs", Red},
};
constexpr TSettingsRow kTabOther[] = {
    {L"AllTemp", Green},          {L"AllTmp", Green},         {L"AllCache", Green},
    {L"AllInstall", Yellow},      {L"AllOutlookSetup", Yellow}, {L"AllIESetup", Yellow},
    {L"AllShellIconCache", Green}, {L"AllOfficeGarbage", Green},
};

const TSettingsTab kSettingsTabs[] = {
    {L" 1 ", kTab1}, {L" 2 ", kTab2}, {L" 3 ", kTab3}, {L" 4 ", kTab4},
    {L" 5 ", kTab5}, {L"6", kTab6},   {L"其它", kTabOther},
};

constexpr const wchar_t* kSafetyTexts[] = {
    L"绝对安全 (可以安全的移除这些项目, 绝对不会出问题)",
    L"安全 (可以安全的移除这些项目, 一般不会出问题)",
    L"基本安全 (移除这些项目可能会造成问题.  在移除前请检查每个项目)",
    L"不太安全 (移除这些项目很可能会造成问题.  在移除前请检查每个项目)",
    L"未知安全等级",
};

constexpr const wchar_t* kRemovalMethodItems[] = {
    L"删除文件",
    L"移动到 ZIP 文件, 一周后删除",
    L"移动到 ZIP 文件, 不删除 ZIP",
};

constexpr const wchar_t* kUserRuleKindItems[] = {
    L"结尾以", L"开头以", L"使用通配符 - ", L"在文件夹中 ", L"包含子文件夹 ",
};

// When a category of each mode rule takes part, per scan mode 0..3.
enum class TTake { Never, Always, WhenEnabled, WhenEnabledAndRunInMainScan };

constexpr TTake kModeRuleTable[][4] = {
    // Clean PC, Remove tracks, Run custom settings, registry history scan
    {TTake::Always, TTake::Always, TTake::WhenEnabled, TTake::Never},    // mrAll
    {TTake::Always, TTake::Never, TTake::WhenEnabled, TTake::Never},     // mrCleanPC
    {TTake::Never, TTake::Always, TTake::WhenEnabled, TTake::Never},     // mrTracks
    {TTake::Never, TTake::Never, TTake::WhenEnabled, TTake::Never},      // mrCustom
    {TTake::WhenEnabledAndRunInMainScan, TTake::Always, TTake::WhenEnabledAndRunInMainScan,
     TTake::WhenEnabled},  // mrRegistry
};

}  // namespace

const TJunkCategory& Category(int index)
{
    if (index < 0 || index >= kCategoryCount)
        throw std::out_of_range("junk category index " + std::to_string(index));
    return Catalogue()[index];
}

const TTickBoxSetting* FindTickBoxSetting(const std::wstring& key)
{
    for (const TJunkCategory& category : Catalogue())
        if (platform::SameText(category.Setting.EnableKey, key))
            return &category.Setting;
    if (platform::SameText(StubbornIndexDatSetting().EnableKey, key))
        return &StubbornIndexDatSetting();
    return nullptr;
}

std::span<const TSettingsTab> SettingsTabs() { return kSettingsTabs; }

const wchar_t* SafetyText(int level)
{
    if (level < 1 || level > 5)
        return L"";
    return kSafetyTexts[level - 1];
}

std::span<const wchar_t* const> RemovalMethodItems() { return kRemovalMethodItems; }
std::span<const wchar_t* const> UserRuleKindItems() { return kUserRuleKindItems; }

bool IsUserRule(int index) { return index >= kFirstUserRule && index < kFirstUserRule + kUserRuleCount; }

bool IsRegistryCategory(int index)
{
    return index >= kFirstRegistryCategory && index < kFirstRegistryCategory + kRegistryCategoryCount;
}

bool CategoryTaken(int index, int scanMode, bool enabled, bool runInMainScan)
{
    if (scanMode < 0 || scanMode > 3)
        return false;
    switch (kModeRuleTable[Category(index).ModeRule][scanMode]) {
    case TTake::Never:
        return false;
    case TTake::Always:
        return true;
    case TTake::WhenEnabled:
        return enabled;
    case TTake::WhenEnabledAndRunInMainScan:
        return enabled && runInMainScan;
    }
    return false;
}

std::wstring GroupCaptionPrefix(int index, const std::wstring& userRuleText)
{
    const TJunkCategory& category = Category(index);
    if (category.GroupPrefix)
        return category.GroupPrefix;
    return userRuleText.empty() ? L"未定义 (" : userRuleText + L" 文件 (";
}

std::wstring GroupCaption(int index, int count, const std::wstring& userRuleText)
{
    const TJunkCategory& category = Category(index);
    const wchar_t* dash1 = category.CaptionForm == TCaptionForm::B ? L") -" : L") - ";
    const wchar_t* dash2 = category.CaptionForm == TCaptionForm::C ? L"  - " : L" - ";
    return GroupCaptionPrefix(index, userRuleText) + std::to_wstring(count) + L" 个问题" + dash1 +
           SafetyText(category.SafetyLevel) + dash2 + category.Description;
}

std::vector<std::wstring> SourceMasks(const TJunkCategory& category)
{
    std::vector<std::wstring> masks;
    std::wstring text = category.Masks;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L';', start);
        if (end == std::wstring::npos)
            end = text.size();
        if (end > start)
            masks.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return masks;
}

}  // namespace scan
