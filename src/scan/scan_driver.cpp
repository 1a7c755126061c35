#include "scan/scan_driver.h"

#include <windows.h>

#include <exception>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/path_util.h"
#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/text.h"
#include "scan/clean_dir_plan.h"
#include "scan/user_rules.h"

namespace scan {

namespace {

constexpr wchar_t kPreparingText[] = L"正在准备扫描 - 请稍等 - 这可能需要几分种时间";
constexpr wchar_t kFinishedText[] = L"扫描完成";
constexpr wchar_t kWindowsMeRestoreFolder[] = L"C:\\_RESTORE";
constexpr uint8_t kWindowsMe = 3;

constexpr wchar_t kShellFoldersKey[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kNetscapeCacheKey[] = L"\\Software\\Netscape\\Netscape Navigator\\Cache";
constexpr wchar_t kNetscapeUrlHistoryKey[] = L"\\Software\\Netscape\\Netscape Navigator\\URL History";
constexpr wchar_t kNetscapeHistoryKey[] = L"\\Software\\Netscape\\Netscape Navigator\\History";
constexpr wchar_t kNetscapeCookiesKey[] = L"\\Software\\Netscape\\Netscape Navigator\\Cookies";
constexpr wchar_t kNetscapeMainKey[] = L"\\Software\\Netscape\\Netscape Navigator\\Main";
constexpr wchar_t kNetscapeCacheValue[] = L"缓存目录";
constexpr wchar_t kNetscapeHistoryValue[] = L"历史文件";
constexpr wchar_t kNetscapeCookiesValue[] = L"Cookie 文件";
constexpr wchar_t kNetscapeInstallValue[] = L"安装目录";

enum : int {
    kTempCategory = 7,
    kRecycleBinCategory = 19,
    kRecentCategory = 20,
    kCacheCategory = 21,
    kHistoryCategory = 22,
    kCookiesCategory = 23,
    kSpoolCategory = 66,
    kJunoCategory = 67,
    kOnlineServicesCategory = 71,
    kDownloadedInstallationsCategory = 88,
    kInternetLogsCategory = 89,
    kInstallerCategory = 90,
};

// The categories, besides the user rules with a name pattern, that only the drive walk searches.
struct TCategoryRange {
    int First, Last;
};
constexpr TCategoryRange kWalkCategories[] = {{0, 6}, {8, 18}, {34, 65}, {68, 70}, {85, 87}};

bool ServedByWalk(const app::TSettings& settings, int index)
{
    if (IsUserRule(index)) {
        const int kind = settings.UserRules[index - kFirstUserRule].Kind;
        return kind == urEndsWith || kind == urBeginsWith || kind == urWildcard;
    }
    for (const TCategoryRange& range : kWalkCategories)
        if (index >= range.First && index <= range.Last)
            return true;
    return false;
}

// "C:\" or "C:": searching a special location that names a whole drive would take the drive.
bool IsDriveRoot(const std::wstring& folder)
{
    const std::wstring path = platform::RemoveSlash(folder);
    return path.size() == 2 && path[1] == L':';
}

// The folder as one text for comparisons: long form, upper case, no trailing backslash.
std::wstring FolderIdentity(const std::wstring& folder)
{
    return platform::Upper(platform::RemoveSlash(GetLongFileName(platform::RemoveSlash(folder))));
}

bool IsUsableFolderValue(const std::wstring& value)
{
    return !value.empty() && platform::FolderExists(value) && !IsDriveRoot(value);
}

}  // namespace

std::wstring StopButtonCaption(int scanMode)
{
    switch (scanMode) {
    case smCleanPC: return L"停止 \"清洁计算机\" 扫描";
    case smRemoveTracks: return L"停止 \"清除历史记录\" 扫描";
    case smCustom: return L"停止 \"自定义清洁\" 扫描";
    default: return L"停止 \"注册表清洁\" 扫描";
    }
}

bool NeedsDriveWalk(const app::TSettings& settings, int scanMode)
{
    if (scanMode != smCustom)
        return true;
    for (int index = 0; index < kCategoryCount; ++index)
        if (ServedByWalk(settings, index) && CategoryTakesPart(settings, scanMode, index))
            return true;
    return false;
}

std::wstring EnvironmentFolder(const std::wstring& name)
{
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetEnvironmentVariableW(name.c_str(), value.data(), static_cast<DWORD>(value.size()));
        if (n == 0)
            return {};
        if (n < value.size()) {
            value.resize(n);
            return value;
        }
        value.resize(n);
    }
}

TScanDriver::TScanDriver(TScanState& state, IScanHost& host, IScanDriverUi& ui, TScanPlaces places)
    : state_(state), host_(host), ui_(ui), places_(std::move(places))
{
    if (state_.Settings == nullptr)
        throw std::invalid_argument("TScanDriver needs the settings");
    if (places_.WindowsDir.empty())
        places_.WindowsDir = platform::WindowsFolder();
    places_.WindowsDir = platform::CheckPath(places_.WindowsDir);
}

void TScanDriver::Button1Click(bool autoScanActive)
{
    if (ui_.Busy())
        return;
    ui_.ChangeBusy(true);
    std::exception_ptr error;
    try {
        Prepare();
        Search();
    } catch (...) {
        error = std::current_exception();
    }
    walk_.reset();
    Close(autoScanActive);
    if (autoScanActive)
        ui_.RemoveFindings();
    if (error)
        std::rethrow_exception(error);
}

void TScanDriver::Prepare()
{
    ui_.SetScanCommandsEnabled(false);
    ui_.ResetCounters();
    ui_.SetResultsPage(true);

    ui_.SetWaitCursor(true);
    ui_.ShowStopButton(StopButtonCaption(state_.ScanMode));

    ui_.SetStopRequested(false);
    state_.HandledFolders.Clear();
    MarkSkipFolders();
    if (state_.OSKind == kWindowsMe)
        state_.HandledFolders.Add(kWindowsMeRestoreFolder);

    ui_.BlankList();
    ui_.TurnPage(kScanPage);
    ui_.SetProgressText(kPreparingText);
    walk_.emplace(state_, host_, state_.Settings->Drives, places_.Clock);
}

void TScanDriver::Search()
{
    if (Takes(kRecycleBinCategory)) {
        host_.ChangeLabel(kRecycleBinCategory);
        walk_->SearchThruHD(fwRecycleBin);
    }
    MarkTempFolders();
    TempFolders();
    RecentFolder();
    PrinterSpool();
    JunoAds();
    if (Takes(kOnlineServicesCategory)) {
        host_.ChangeLabel(kOnlineServicesCategory);
        walk_->SearchThruHD(fwOnlineServices);
    }
    InternetCache();
    InternetHistory();
    InternetCookies();
    FixedWindowsFolder(kDownloadedInstallationsCategory, L"Downloaded Installations");
    FixedWindowsFolder(kInternetLogsCategory, L"Internet Logs");
    FixedWindowsFolder(kInstallerCategory, L"Installer");
    UserFolderRules();
    DriveWalk();
    HistoryLists();
}

void TScanDriver::Close(bool autoScanActive)
{
    try {
        ui_.ShowStopButton(L"");
        // In an automatic run a stop stays in force, so the removal that follows does nothing.
        if (!autoScanActive)
            ui_.SetStopRequested(false);
        ui_.SetProgressText(kFinishedText);
        if (ui_.ProblemCount() < 1)
            ui_.TurnPage(kFinishedPage);
        else
            ui_.SetResultsPage(false);
        ui_.SetScanCommandsEnabled(true);
        ui_.RestoreWindow();
        ui_.SetWaitCursor(false);
    } catch (...) {
        ui_.ChangeBusy(false);
        throw;
    }
    ui_.ChangeBusy(false);
}

void TScanDriver::MarkSkipFolders()
{
    for (const std::wstring& folder : state_.Settings->SkipFolders)
        state_.HandledFolders.Add(folder);
}

void TScanDriver::MarkTempFolders()
{
    // Marked whether or not category 7 takes part, so the drive walk never takes the user's
    // own temporary folders as just any Temp folder.
    temp_ = EnvironmentFolder(L"TEMP");
    tmp_ = EnvironmentFolder(L"TMP");
    MarkWithLongForm(temp_);
    MarkWithLongForm(tmp_);
    // A relative path would be searched from wherever the program happens to run.
    for (std::wstring* folder : {&temp_, &tmp_})
        if (!IsAbsoluteFolder(*folder) || IsDriveRoot(*folder))
            folder->clear();
    if (!tmp_.empty() && !temp_.empty() && FolderIdentity(tmp_) == FolderIdentity(temp_))
        tmp_.clear();
}

void TScanDriver::MarkWithLongForm(const std::wstring& folder)
{
    if (folder.empty())
        return;
    state_.HandledFolders.Add(folder);
    const std::wstring longForm = GetLongFileName(platform::RemoveSlash(folder));
    if (!longForm.empty() && !platform::SameText(longForm, platform::RemoveSlash(folder)))
        state_.HandledFolders.Add(longForm);
}

void TScanDriver::TempFolders()
{
    if (!Takes(kTempCategory))
        return;
    host_.ChangeLabel(kTempCategory);
    for (const std::wstring& folder : {temp_, tmp_})
        if (!folder.empty())
            walk_->SearchThruDir(platform::CheckPath(folder), fwTempFolder);
}

void TScanDriver::RecentFolder()
{
    if (!Takes(kRecentCategory))
        return;
    host_.ChangeLabel(kRecentCategory);
    const std::optional<std::wstring> value = ReadUserValue(kShellFoldersKey, L"Recent");
    if (!value)
        return;
    const std::wstring folder = IsUsableFolderValue(*value) ? *value : places_.WindowsDir + L"Recent";
    host_.ShowCurrentFolder(folder);
    walk_->SearchForFile(platform::CheckPath(folder) + L"*", ftOlderThanWeek);
    state_.HandledFolders.Add(folder);
}

void TScanDriver::PrinterSpool()
{
    if (!Takes(kSpoolCategory))
        return;
    host_.ChangeLabel(kSpoolCategory);
    walk_->SearchForFile(places_.WindowsDir + L"Spool\\Printers\\*.spl", ftOlderThanDay);
}

void TScanDriver::JunoAds()
{
    if (!Takes(kJunoCategory))
        return;
    host_.ChangeLabel(kJunoCategory);
    walk_->SearchForFile(places_.JunoAdsPattern, ftOlderThanDay);
}

void TScanDriver::InternetCache()
{
    if (!Takes(kCacheCategory))
        return;
    host_.ChangeLabel(kCacheCategory);
    walk_->SearchThruHD(fwFirefoxCache);
    if (const auto value = ReadUserValue(kNetscapeCacheKey, kNetscapeCacheValue))
        BrowserFolderValue(*value);
    ShellBrowserFolder(L"Cache", L"Temporary Internet Files");
}

void TScanDriver::InternetHistory()
{
    if (!Takes(kHistoryCategory))
        return;
    host_.ChangeLabel(kHistoryCategory);
    walk_->SearchThruHD(fwFirefoxHistory);
    if (const auto value = ReadUserValue(kNetscapeUrlHistoryKey, kNetscapeCacheValue))
        BrowserFolderValue(*value);
    else if (const auto history = ReadUserValue(kNetscapeHistoryKey, kNetscapeHistoryValue))
        BrowserFolderValue(*history);
    ShellBrowserFolder(L"History", L"History");
}

void TScanDriver::InternetCookies()
{
    if (!Takes(kCookiesCategory))
        return;
    host_.ChangeLabel(kCookiesCategory);
    walk_->SearchThruHD(fwFirefoxCookies);
    if (const auto value = ReadUserValue(kNetscapeCookiesKey, kNetscapeCookiesValue)) {
        BrowserFolderValue(*value);
    } else if (const auto install = ReadUserValue(kNetscapeMainKey, kNetscapeInstallValue)) {
        if (IsUsableFolderValue(*install)) {
            host_.ShowCurrentFolder(*install);
            walk_->SearchForFile(platform::CheckPath(*install) + L"cookie.txt", ftMask);
        }
    }
    ShellBrowserFolder(L"Cookies", L"Cookies");
}

void TScanDriver::FixedWindowsFolder(int category, const wchar_t* name)
{
    if (!Takes(category))
        return;
    host_.ChangeLabel(category);
    walk_->SearchThruDir(places_.WindowsDir + name + L"\\", fwTempFolder);
}

void TScanDriver::UserFolderRules()
{
    for (int rule = 0; rule < kUserRuleCount; ++rule) {
        const int category = kFirstUserRule + rule;
        if (!Takes(category))
            continue;
        host_.ChangeLabel(category);
        const app::TUserRulePattern& pattern = state_.Settings->UserRules[rule];
        walk_->ApplyFolderRule(pattern.Kind, pattern.Text);
    }
}

void TScanDriver::DriveWalk()
{
    if (NeedsDriveWalk(*state_.Settings, state_.ScanMode))
        walk_->SearchThruHD(fwFullWalk);
}

void TScanDriver::HistoryLists()
{
    const int mode = state_.ScanMode;
    const bool inMainScan = (mode == smCleanPC || mode == smCustom) && state_.Settings->RunInMainScan;
    if (mode == smRemoveTracks || inMainScan)
        registry::DoRegClean(state_, host_, places_.HistoryRoots);
}

std::wstring TScanDriver::UserKey(const std::wstring& path) const
{
    return places_.UserKeyMirror.empty() ? path : L"\\" + places_.UserKeyMirror + path;
}

std::optional<std::wstring> TScanDriver::ReadUserValue(const std::wstring& key, const std::wstring& name) const
{
    platform::TNTRegistry registry(HKEY_CURRENT_USER);
    if (!registry.OpenKey(UserKey(key)))
        return std::nullopt;
    try {
        return registry.ReadString(name);
    } catch (const platform::AppError&) {
        // A value of another type names no folder: the same as an empty one.
        return std::wstring();
    }
}

void TScanDriver::BrowserFolderValue(const std::wstring& value)
{
    if (!IsUsableFolderValue(value))
        return;
    host_.ShowCurrentFolder(value);
    walk_->SearchThruDir(platform::CheckPath(value), fwBrowserFolder);
    state_.HandledFolders.Add(value);
}

void TScanDriver::ShellBrowserFolder(const std::wstring& valueName, const std::wstring& fallbackName)
{
    const std::optional<std::wstring> value = ReadUserValue(kShellFoldersKey, valueName);
    if (!value)
        return;
    const std::wstring folder = IsUsableFolderValue(*value) ? *value : places_.WindowsDir + fallbackName;
    host_.ShowCurrentFolder(folder);
    walk_->SearchThruDir(platform::CheckPath(folder), fwBrowserFolder);
    state_.HandledFolders.Add(folder);
}

bool TScanDriver::Takes(int category) const
{
    return CategoryTakesPart(*state_.Settings, state_.ScanMode, category);
}

}  // namespace scan
