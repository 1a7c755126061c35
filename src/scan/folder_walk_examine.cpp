// CleanDir's examination of one listing, the pattern listings of SearchForFile and the
// user rules.
#include <algorithm>

#include "app/shortcuts.h"
#include "platform/path_util.h"
#include "platform/text.h"
#include "scan/file_tests.h"
#include "scan/folder_walk.h"
#include "scan/user_rules.h"

namespace scan {

namespace {

// A listing with nothing in it. Drive roots list no "." and "..", so an empty root answers
// "file not found"; a folder that cannot be read is not empty.
bool ListedNothing(const platform::FileEnumerator& listing, const std::wstring& folder)
{
    if (listing.Opened())
        return listing.Error() == ERROR_SUCCESS;
    return listing.Error() == ERROR_FILE_NOT_FOUND && platform::FolderExists(folder);
}

}  // namespace

TFolderWalk::TListing TFolderWalk::ListFolder(const std::wstring& folder)
{
    TListing listing;
    platform::FileEnumerator enumerator(folder + L"*");
    platform::FileEntry entry;
    while (enumerator.Next(entry)) {
        listing.UpperNames.push_back(platform::Upper(entry.name));
        listing.Entries.push_back(std::move(entry));
    }
    listing.Empty = listing.Entries.empty() && ListedNothing(enumerator, folder);
    return listing;
}

void TFolderWalk::CleanDir(const std::wstring& folder)
{
    BeginSearch();
    if (IsVistaSystemFolder(folder) || CheckStop())
        return;
    const TListing listing = ListFolder(folder);
    host_.ShowCurrentFolder(folder);
    Examine(folder, listing);
}

void TFolderWalk::Examine(const std::wstring& folder, const TListing& listing)
{
    if (plan_.empty())
        return;
    // Every entry is tested once against every step; the findings then go out step by
    // step, each step's in listing order, as one listing per pattern would give them.
    const bool chkFolder = IsChkFolder(folder);
    std::vector<std::vector<size_t>> hits(plan_.size());
    for (size_t i = 0; i < listing.Entries.size(); ++i) {
        if (CheckStop())
            return;
        const platform::FileEntry& entry = listing.Entries[i];
        if (!entry.IsFile() || entry.IsReparsePoint())
            continue;
        std::optional<std::wstring> shortcutTarget;
        for (size_t s = 0; s < plan_.size(); ++s) {
            if (plan_[s].Kind == TStepKind::ChkFiles && !chkFolder)
                continue;
            if (EntryPasses(plan_[s], entry, listing.UpperNames[i], folder, shortcutTarget))
                hits[s].push_back(i);
        }
    }
    for (size_t s = 0; s < plan_.size() && !stopped_; ++s) {
        const TCleanStep& step = plan_[s];
        // Each category taking part is made current before its search, as the scan page shows.
        if (step.Category >= 0 && step.Category != currentCategory_)
            ChangeLabel(step.Category);
        switch (step.Kind) {
        case TStepKind::InvalidRule: ShowInvalidRule(step.Pattern); break;
        case TStepKind::ListedMask: ListAndTest(folder + step.Pattern, ftMask, step.Category); break;
        case TStepKind::EmptyFolder:
            if (listing.Empty)
                ReportIn(step.Category, folder, L"");
            break;
        default:
            for (size_t i : hits[s]) {
                if (CheckStop())
                    return;
                const platform::FileEntry& entry = listing.Entries[i];
                ReportListed(step.Category, folder + entry.name, folder + entry.ShortOrLongName(), entry);
            }
            if (step.Kind == TStepKind::ChkFiles && IsFoundFolder(folder))
                ReportIn(step.Category, folder, L"");
            break;
        }
    }
}

bool TFolderWalk::EntryPasses(const TCleanStep& step, const platform::FileEntry& entry, const std::wstring& upperName,
                              const std::wstring& folder, std::optional<std::wstring>& shortcutTarget)
{
    switch (step.Kind) {
    case TStepKind::Mask:
    case TStepKind::ChkFiles: return step.Mask.MatchesUpper(upperName);
    case TStepKind::EmptyFile: return IsEmptyFileFinding(entry, state_.ScanMode);
    case TStepKind::OldFile: return AccessedBefore(entry.lastAccessTime, OldFileLimit(step.Test).value_or(0));
    case TStepKind::Shortcut:
        if (!step.Mask.MatchesUpper(upperName))
            return false;
        if (!shortcutTarget)
            shortcutTarget = ShortcutTarget(folder + entry.name);
        return ShortcutTestPasses(step.Test, *shortcutTarget);
    default: return false;
    }
}

void TFolderWalk::SearchForFile(const std::wstring& pattern, TFileTestKind test)
{
    BeginSearch();
    ListAndTest(pattern, test, -1);
}

void TFolderWalk::ListAndTest(const std::wstring& pattern, TFileTestKind test, int category)
{
    const size_t slash = pattern.rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : pattern.substr(0, slash + 1);
    const TMask mask(pattern.substr(folder.size()));
    if (CheckStop())
        return;
    platform::FileEnumerator listing(pattern);
    platform::FileEntry entry;
    while (listing.Next(entry)) {
        if (CheckStop() || test == ftEmptyFolder)
            return;
        if (entry.IsFile() && !entry.IsReparsePoint() && FilePasses(test, mask, folder, entry))
            ReportListed(category, folder + entry.name, folder + entry.ShortOrLongName(), entry);
    }
    if (test == ftEmptyFolder && !pattern.empty() && ListedNothing(listing, folder))
        ReportIn(category, pattern.substr(0, pattern.size() - 1), L"");
}

bool TFolderWalk::FilePasses(TFileTestKind test, const TMask& mask, const std::wstring& folder,
                             const platform::FileEntry& entry)
{
    switch (static_cast<int>(test)) {
    case ftMask:
    case 4:
    case 6: return mask.Matches(entry.name);
    case ftBadShortcut:
    case ftWebShortcut:
    case ftCdShortcut: return ShortcutTestPasses(test, ShortcutTarget(folder + entry.name));
    case ftOldSince1999:
    case ftOldSince2000:
    case ftOldSince2001:
    case ftOldSince2002: return AccessedBefore(entry.lastAccessTime, *OldFileLimit(test));
    case ftEmptyFile: return IsEmptyFileFinding(entry, state_.ScanMode);
    case ftOlderThanDay: return WrittenMoreThanDaysAgo(entry.lastWriteTime, Today(), 1);
    case ftOlderThanWeek: return WrittenMoreThanDaysAgo(entry.lastWriteTime, Today(), 7);
    default: return false;
    }
}

std::wstring TFolderWalk::ShortcutTarget(const std::wstring& path)
{
    platform::TPBShellLink& link = state_.ShellLink ? *state_.ShellLink : ownShellLink_;
    return app::CheckTarget(link, path);
}

void TFolderWalk::ShowInvalidRule(const std::wstring& text)
{
    // Once per walk, not at every folder.
    if (std::find(invalidRulesShown_.begin(), invalidRulesShown_.end(), text) != invalidRulesShown_.end())
        return;
    invalidRulesShown_.push_back(text);
    host_.ShowMessage(InvalidRuleMessage(text));
}

void TFolderWalk::ApplyNameRule(int kind, const std::wstring& text, const std::wstring& folder)
{
    const std::optional<std::wstring> pattern = NameRulePattern(kind, text);
    if (!pattern)
        return;
    if (IsInvalidNameRuleText(text))
        ShowInvalidRule(text);
    else
        ListAndTest(platform::CheckPath(folder) + *pattern, ftMask, -1);
}

void TFolderWalk::ApplyFolderRule(int kind, const std::wstring& text)
{
    BeginSearch();
    if (text.empty() || (kind != urFilesInFolder && kind != urFolderTree))
        return;
    if (!IsAbsoluteFolder(text)) {
        ShowInvalidRule(text);
        return;
    }
    // The settings page gives the folder with a backslash; a hand-edited one may lack it,
    // and "C:\Data" + "*" would list C:\ instead.
    const std::wstring folder = platform::CheckPath(text);
    if (kind == urFilesInFolder)
        ListAndTest(folder + L"*", ftMask, -1);
    else
        Walk(folder, fwUserFolder);
}

}  // namespace scan
