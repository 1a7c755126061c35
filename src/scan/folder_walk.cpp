#include "scan/folder_walk.h"

#include <algorithm>

#include "platform/path_util.h"
#include "platform/text.h"
#include "scan/file_tests.h"

namespace scan {

namespace {

// How often a walk lets the window process its messages.
constexpr unsigned long kPumpIntervalMs = 15;

constexpr int kAllTempCategory = 58;
constexpr int kAllTmpCategory = 59;
constexpr int kAllCacheCategory = 60;
constexpr int kInstallCategory = 61;
constexpr int kOutlookSetupCategory = 62;
constexpr int kIeSetupCategory = 63;
constexpr int kOldUpdatesCategory = 85;
constexpr int kRestorePointsCategory = 86;
constexpr int kRecentDays = 7;
constexpr int kOldBackupDays = 60;
constexpr uint8_t kWindowsVista = 8;

const std::wstring kFirefoxProfiles = L"APPLICATION DATA\\MOZILLA\\FIREFOX\\PROFILES";

bool IsPlainFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsPlainFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

bool IsInstallFolderName(const std::wstring& upperName)
{
    return upperName == L"MSSTARTUP" || upperName == L"MSCREATE.DIR" || upperName == L"~MSSETUP.T" ||
           upperName.compare(0, 8, L"INSTALL ") == 0;
}

// A browser-profile walk looks at the subfolders of a folder only inside the profiles folder,
// above five backslashes or under "Application Data", and never at its files: any other
// folder need not be listed at all.
bool ProfileWalkLooksInto(const std::wstring& folder)
{
    return std::count(folder.begin(), folder.end(), L'\\') < 5 ||
           folder.find(L"Application Data") != std::wstring::npos ||
           platform::Upper(folder).find(kFirefoxProfiles) != std::wstring::npos;
}

bool ReportsFilesWhenOld(TFolderWalkKind kind)
{
    return kind == fwBrowserFolder || kind == fwRecycleBin || kind == fwOnlineServices;
}

bool IsWholeTreeKind(TFolderWalkKind kind)
{
    switch (kind) {
    case fwUserFolder:
    case fwBrowserFolder:
    case fwWholeFolder:
    case fwRecycleBin:
    case fwTempFolder:
    case fwOnlineServices:
    case fwUninstallBackup: return true;
    default: return false;
    }
}

}  // namespace

TFolderWalk::TFolderWalk(TScanState& state, IScanHost& host, std::vector<app::TDriveSelection> drives, TClock clock)
    : state_(state), host_(host), drives_(std::move(drives)), clock_(std::move(clock)), lastPump_(GetTickCount())
{
    if (state_.Settings)
        plan_ = BuildCleanDirPlan(*state_.Settings, state_.ScanMode);
}

void TFolderWalk::BeginSearch()
{
    stopped_ = false;
    currentCategory_ = -1;
}

bool TFolderWalk::CheckStop()
{
    if (stopped_)
        return true;
    const unsigned long now = GetTickCount();
    if (now - lastPump_ >= kPumpIntervalMs) {
        lastPump_ = now;
        host_.ProcessMessages();
    }
    stopped_ = host_.StopRequested();
    return stopped_;
}

bool TFolderWalk::TakesPart(int index) const
{
    return state_.Settings && CategoryTakesPart(*state_.Settings, state_.ScanMode, index);
}

TDateSerial TFolderWalk::Today() const { return TodayOf(clock_()); }

bool TFolderWalk::IsVistaSystemFolder(const std::wstring& folder) const
{
    return state_.OSKind == kWindowsVista && platform::Upper(folder).find(L"SYSTEM32") != std::wstring::npos;
}

void TFolderWalk::ChangeLabel(int category)
{
    host_.ChangeLabel(category);
    currentCategory_ = category;
}

void TFolderWalk::Report(const std::wstring& path, const std::wstring& alternatePath)
{
    if (!stopped_)
        host_.ListBoxAddString(path, alternatePath);
}

void TFolderWalk::ReportIn(int category, const std::wstring& path, const std::wstring& alternatePath)
{
    if (stopped_)
        return;
    if (category >= 0 && category != currentCategory_)
        ChangeLabel(category);
    Report(path, alternatePath);
}

void TFolderWalk::ReportListed(int category, const std::wstring& path, const std::wstring& alternatePath,
                               const platform::FileEntry& entry)
{
    if (stopped_)
        return;
    if (category >= 0 && category != currentCategory_)
        ChangeLabel(category);
    host_.ListBoxAddEntry(path, alternatePath, entry);
}

void TFolderWalk::ReportEntry(const std::wstring& folder, const platform::FileEntry& entry, bool isFolder)
{
    const wchar_t* suffix = isFolder ? L"\\" : L"";
    ReportListed(-1, folder + entry.name + suffix, folder + entry.ShortOrLongName() + suffix, entry);
}

void TFolderWalk::SearchThruHD(TFolderWalkKind kind)
{
    BeginSearch();
    for (const app::TDriveSelection& drive : drives_) {
        if (CheckStop())
            return;
        if (!drive.Selected || drive.Root.empty())
            continue;
        const std::wstring root = platform::CheckPath(drive.Root);
        switch (kind) {
        case fwFullWalk: DriveWalk(root); break;
        case fwRecycleBin: RecycleBins(root); break;
        case fwOnlineServices: OnlineServices(root); break;
        case fwFirefoxCache:
        case fwFirefoxHistory:
        case fwFirefoxCookies: Walk(root, kind); break;
        default: break;
        }
    }
}

void TFolderWalk::DriveWalk(const std::wstring& root)
{
    // A marker for a whole drive ("<<C:>>") spares only the root's own files.
    const bool rootMarked = state_.HandledFolders.Contains(root);
    FullWalk(root, !rootMarked);
}

void TFolderWalk::RecycleBins(const std::wstring& root)
{
    for (const wchar_t* name : {L"Recycler", L"Recycled"}) {
        const std::wstring bin = root + name;
        if (stopped_ || !IsPlainFolder(bin))
            continue;
        Walk(bin + L"\\", fwRecycleBin);
        state_.HandledFolders.Add(bin);
    }
}

void TFolderWalk::OnlineServices(const std::wstring& root)
{
    const std::wstring folder = root + L"Program Files\\Online Services";
    if (!IsPlainFolder(folder))
        return;
    Walk(folder + L"\\", fwOnlineServices);
    state_.HandledFolders.Add(folder);
    Report(folder + L"\\", L"");
}

void TFolderWalk::SearchThruDir(const std::wstring& folder, TFolderWalkKind kind)
{
    BeginSearch();
    Walk(folder, kind);
}

void TFolderWalk::FullWalk(const std::wstring& folder, bool examine)
{
    if (IsVistaSystemFolder(folder) || CheckStop())
        return;
    const TListing listing = ListFolder(folder);
    if (examine) {
        host_.ShowCurrentFolder(folder);
        Examine(folder, listing);
    }
    for (size_t i = 0; i < listing.Entries.size(); ++i) {
        if (CheckStop())
            return;
        const platform::FileEntry& entry = listing.Entries[i];
        if (!entry.IsFolder() || entry.IsReparsePoint())
            continue;
        const std::wstring sub = folder + entry.name;
        if (state_.HandledFolders.Contains(sub))
            continue;
        if (!FullWalkSpecialFolder(folder, entry, listing.UpperNames[i]))
            FullWalk(sub + L"\\", true);
    }
}

bool TFolderWalk::FullWalkSpecialFolder(const std::wstring& folder, const platform::FileEntry& entry,
                                        const std::wstring& upperName)
{
    static const TMask outlookSetup(L"OUTLOOK * SETUP");
    static const TMask ieSetup(L"IE * SETUP");
    static const TMask ntUninstall(L"$NTUNINSTALL*");
    static const TMask restoreFolder(L"_RESTORE{*");

    const std::wstring sub = folder + entry.name;
    const std::wstring alternate = folder + entry.ShortOrLongName() + L"\\";
    bool applied = false;
    const struct {
        bool nameFits;
        int category;
        bool reportFolder;
    } wholeFolders[] = {
        {upperName == L"TEMP", kAllTempCategory, false},
        {upperName == L"TMP", kAllTmpCategory, false},
        {upperName == L"TEMPORARY INTERNET FILES", kAllCacheCategory, false},
        {IsInstallFolderName(upperName), kInstallCategory, true},
        {outlookSetup.MatchesUpper(upperName), kOutlookSetupCategory, true},
        {ieSetup.MatchesUpper(upperName), kIeSetupCategory, true},
    };
    for (const auto& candidate : wholeFolders) {
        if (candidate.nameFits && TakesPart(candidate.category)) {
            WholeFolderFor(candidate.category, sub, candidate.reportFolder, alternate);
            applied = true;
        }
    }
    if (ntUninstall.MatchesUpper(upperName) && TakesPart(kOldUpdatesCategory) &&
        WrittenMoreThanDaysAgo(entry.lastWriteTime, Today(), kOldBackupDays)) {
        ChangeLabel(kOldUpdatesCategory);
        host_.ShowCurrentFolder(sub);
        Walk(sub + L"\\", fwUninstallBackup);
        state_.HandledFolders.Add(sub);
        Report(sub + L"\\", alternate);
        applied = true;
    }
    if (restoreFolder.MatchesUpper(upperName) && TakesPart(kRestorePointsCategory)) {
        // Lists "<restore folder>\RP*": only the restore points; the folder itself stays.
        ChangeLabel(kRestorePointsCategory);
        host_.ShowCurrentFolder(sub);
        Walk(sub + L"\\RP", fwRestorePoints);
        applied = true;
    }
    return applied;
}

void TFolderWalk::WholeFolderFor(int category, const std::wstring& sub, bool report, const std::wstring& alternate)
{
    ChangeLabel(category);
    host_.ShowCurrentFolder(sub);
    Walk(sub + L"\\", fwWholeFolder);
    state_.HandledFolders.Add(sub);
    if (report)
        Report(sub + L"\\", alternate);
}

void TFolderWalk::Walk(const std::wstring& folder, TFolderWalkKind kind)
{
    if (kind == fwFullWalk) {
        FullWalk(folder, false);
        return;
    }
    if (IsVistaSystemFolder(folder) || CheckStop())
        return;
    platform::FileEnumerator listing(folder + L"*");
    platform::FileEntry entry;
    while (listing.Next(entry)) {
        if (CheckStop())
            return;
        if (entry.IsReparsePoint())
            continue;
        if (entry.IsFolder()) {
            if (!state_.HandledFolders.Contains(folder + entry.name))
                FolderRule(folder, entry, kind);
        } else {
            FileRule(folder, entry, kind);
        }
    }
}

void TFolderWalk::FolderRule(const std::wstring& folder, const platform::FileEntry& entry, TFolderWalkKind kind)
{
    if (kind == fwRestorePoints) {
        RestorePointRule(folder, entry);
        return;
    }
    if (kind == fwFirefoxCache || kind == fwFirefoxHistory || kind == fwFirefoxCookies) {
        FirefoxRule(folder, entry, kind);
        return;
    }
    if (!IsWholeTreeKind(kind))
        return;
    const std::wstring sub = folder + entry.name;
    host_.ShowCurrentFolder(sub);
    const bool recent = !WrittenMoreThanDaysAgo(entry.lastWriteTime, Today(), kRecentDays);
    if ((kind == fwRecycleBin || kind == fwOnlineServices) && state_.ScanMode == smCleanPC && recent)
        return;
    Walk(sub + L"\\", kind);
    if (kind != fwUserFolder) {
        state_.HandledFolders.Add(sub);
        ReportEntry(folder, entry, true);
    }
}

void TFolderWalk::RestorePointRule(const std::wstring& folder, const platform::FileEntry& entry)
{
    // `folder` is the restore folder followed by "RP"; the entry lies in the restore folder.
    if (folder.size() < 2)
        return;
    const std::wstring base = folder.substr(0, folder.size() - 2);
    const std::wstring point = base + entry.name;
    host_.ShowCurrentFolder(point);
    if (!WrittenMoreThanDaysAgo(entry.lastWriteTime, Today(), kOldBackupDays))
        return;
    Walk(point + L"\\", fwWholeFolder);
    state_.HandledFolders.Add(point);
    ReportEntry(base, entry, true);
}

void TFolderWalk::FirefoxRule(const std::wstring& folder, const platform::FileEntry& entry, TFolderWalkKind kind)
{
    const std::wstring sub = folder + entry.name;
    const std::wstring upperFolder = platform::Upper(folder);
    if (upperFolder.find(kFirefoxProfiles) == std::wstring::npos) {
        const auto depth = std::count(folder.begin(), folder.end(), L'\\');
        if ((depth < 5 || folder.find(L"Application Data") != std::wstring::npos) && ProfileWalkLooksInto(sub + L"\\"))
            Walk(sub + L"\\", kind);
        return;
    }
    if (kind == fwFirefoxCache) {
        // The cache lies in each profile folder: Profiles\<profile>\Cache.
        const bool inProfilesFolder = upperFolder.ends_with(kFirefoxProfiles + L"\\");
        if (platform::Upper(entry.name) == L"CACHE")
            Walk(sub + L"\\", fwBrowserFolder);
        else if (inProfilesFolder)
            Walk(sub + L"\\", fwFirefoxCache);
        return;
    }
    const wchar_t* fileName = kind == fwFirefoxHistory ? L"\\history.dat" : L"\\cookies.txt";
    if (IsPlainFile(sub + fileName))
        Report(sub + fileName, folder + entry.ShortOrLongName() + fileName);
    else
        Walk(sub + L"\\", kind);
}

void TFolderWalk::FileRule(const std::wstring& folder, const platform::FileEntry& entry, TFolderWalkKind kind)
{
    const bool anyAge = state_.ScanMode != smCleanPC;
    switch (kind) {
    case fwTempFolder:
        if (anyAge || WrittenBeforeToday(entry.lastWriteTime, Today()))
            ReportEntry(folder, entry, false);
        break;
    case fwWholeFolder:
    case fwUninstallBackup:
    case fwUserFolder: ReportEntry(folder, entry, false); break;
    default:
        if (ReportsFilesWhenOld(kind) && (anyAge || WrittenMoreThanDaysAgo(entry.lastWriteTime, Today(), kRecentDays)))
            ReportEntry(folder, entry, false);
        break;
    }
}

}  // namespace scan
