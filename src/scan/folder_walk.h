// The search machinery of a scan: the walk over the selected drives, the examination of
// each folder for the walk-based categories, the walks through the folders the scan driver
// hands over, the per-file tests and the user rules. Findings go to IScanHost.
//
// Reparse points (junctions, symbolic links) are never followed and never reported: a
// folder that is one is not entered, not examined and not tested for emptiness, and a file
// that is one is no finding of any walk or test, since removing through a link can reach
// outside the selected folders. A root handed to a walk is walked as named.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "platform/files.h"
#include "platform/shell_link.h"
#include "scan/clean_dir_plan.h"
#include "scan/scan_context.h"
#include "scan/scan_dates.h"
#include "scan/walk_kinds.h"

namespace scan {

class TFolderWalk {
public:
    // One walk object serves one scan: the CleanDir plan is built here from the settings
    // and mode of `state`, which must stay alive and unchanged while the walk runs.
    TFolderWalk(TScanState& state, IScanHost& host, std::vector<app::TDriveSelection> drives,
                TClock clock = LocalNowSerial);

    // Applies a search to every selected drive, in list order, from its root as the drive
    // list gives it ("C:\"; a folder given there is walked as if it were a drive).
    void SearchThruHD(TFolderWalkKind kind);
    // Walks one folder tree. `folder` ends with a backslash (the restore-point kind takes a
    // restore folder followed by "\RP" instead).
    void SearchThruDir(const std::wstring& folder, TFolderWalkKind kind);
    // Examines one folder for the walk-based categories taking part.
    void CleanDir(const std::wstring& folder);
    // Lists one pattern ("C:\Windows\Recent\*") and reports each file passing the test.
    void SearchForFile(const std::wstring& pattern, TFileTestKind test);
    // A user rule of type 0..2 inside `folder`; an invalid text shows its message once per walk.
    void ApplyNameRule(int kind, const std::wstring& text, const std::wstring& folder);
    // A user rule of type 3 or 4, applied once.
    void ApplyFolderRule(int kind, const std::wstring& text);

    // True once a walk has seen StopRequested; the searches then end at their next check.
    bool Stopped() const { return stopped_; }

private:
    struct TListing {
        std::vector<platform::FileEntry> Entries;
        std::vector<std::wstring> UpperNames;
        bool Empty = false;  // listed and holding nothing; false when it could not be read
    };

    void BeginSearch();
    bool CheckStop();
    bool TakesPart(int index) const;
    TDateSerial Today() const;
    bool IsVistaSystemFolder(const std::wstring& folder) const;

    void ChangeLabel(int category);
    void Report(const std::wstring& path, const std::wstring& alternatePath);
    void ReportIn(int category, const std::wstring& path, const std::wstring& alternatePath);
    // Reports a finding made of a listed entry, handing the entry along.
    void ReportListed(int category, const std::wstring& path, const std::wstring& alternatePath,
                      const platform::FileEntry& entry);
    void ReportEntry(const std::wstring& folder, const platform::FileEntry& entry, bool isFolder);

    void DriveWalk(const std::wstring& root);
    void RecycleBins(const std::wstring& root);
    void OnlineServices(const std::wstring& root);
    void FullWalk(const std::wstring& folder, bool examine);
    bool FullWalkSpecialFolder(const std::wstring& folder, const platform::FileEntry& entry,
                               const std::wstring& upperName);
    void WholeFolderFor(int category, const std::wstring& sub, bool report, const std::wstring& alternate);
    void Walk(const std::wstring& folder, TFolderWalkKind kind);
    void FolderRule(const std::wstring& folder, const platform::FileEntry& entry, TFolderWalkKind kind);
    void RestorePointRule(const std::wstring& folder, const platform::FileEntry& entry);
    void FirefoxRule(const std::wstring& folder, const platform::FileEntry& entry, TFolderWalkKind kind);
    void FileRule(const std::wstring& folder, const platform::FileEntry& entry, TFolderWalkKind kind);

    TListing ListFolder(const std::wstring& folder);
    // SearchForFile's listing; findings go to `category` (-1: the host's current one).
    void ListAndTest(const std::wstring& pattern, TFileTestKind test, int category);
    void Examine(const std::wstring& folder, const TListing& listing);
    bool EntryPasses(const TCleanStep& step, const platform::FileEntry& entry, const std::wstring& upperName,
                     const std::wstring& folder, std::optional<std::wstring>& shortcutTarget);
    bool FilePasses(TFileTestKind test, const TMask& mask, const std::wstring& folder, const platform::FileEntry& entry);
    std::wstring ShortcutTarget(const std::wstring& path);
    void ShowInvalidRule(const std::wstring& text);

    TScanState& state_;
    IScanHost& host_;
    std::vector<app::TDriveSelection> drives_;
    TClock clock_;
    std::vector<TCleanStep> plan_;
    platform::TPBShellLink ownShellLink_;
    std::vector<std::wstring> invalidRulesShown_;
    int currentCategory_ = -1;  // as far as this walk knows; -1 when another caller may have changed it
    bool stopped_ = false;
    unsigned long lastPump_ = 0;
};

// The long form of a path that may hold short (8.3) components; the path unchanged when a
// component cannot be found or the path has no backslash.
std::wstring GetLongFileName(const std::wstring& path);

}  // namespace scan
