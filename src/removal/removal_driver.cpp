#include "removal/removal_driver.h"

#include <windows.h>

#include "platform/app_title.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/path_util.h"

namespace removal {

namespace {

constexpr wchar_t kRegistryPrefix[] = L"HKEY_";
constexpr wchar_t kRegistryBackupSuffix[] = L".reg";
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                      FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE;

bool IsFolderText(const std::wstring& text) { return !text.empty() && text.back() == L'\\'; }

// Our own current folder must not hold the folder open.
void LeaveFolder(const std::wstring& folder)
{
    if (folder.size() >= 3 && folder[1] == L':')
        SetCurrentDirectoryW(folder.substr(0, 3).c_str());
}

}  // namespace

TRemovalDriver::TRemovalDriver(IRemovalUi& ui, scan::TResultsList& results, const app::TSettings& settings,
                               TRemovalPlace place)
    : ui_(ui), results_(results), settings_(settings), place_(std::move(place))
{
}

std::wstring TRemovalDriver::RegistryBackupPath() const
{
    const UndoPlace undo{place_.ProgramFolder, place_.TodayUndoName};
    return place_.ProgramFolder + undo.BaseName(true) + kRegistryBackupSuffix;
}

void TRemovalDriver::Button2Click()
{
    if (running_) {
        // The walk ends after the finding in hand; it leaves the busy state itself, so no
        // other command can start while that finding is still being removed.
        ui_.SetStopRequested(true);
        return;
    }
    if (ui_.Busy())
        return;
    if (ui_.StopRequested()) {
        ui_.SetAutoScanActive(false);
        return;
    }
    Run();
}

void TRemovalDriver::Run()
{
    running_ = true;
    ui_.ChangeBusy(true);
    counters_ = {};
    firstError_.clear();
    ui_.SetStopRequested(false);

    position_ = 0;
    maximum_ = static_cast<int>(results_.FindingCount());
    progressText_.clear();
    ui_.ShowRemovalProgress(maximum_);
    ui_.SetCleanButtonCaption(kStopCaption);
    ui_.SetWaitCursor(true);

    remover_ = std::make_unique<registry::RegistryRemover>(place_.OSKind, RegistryBackupPath(),
                                                           registry::RegistryRemover::FindingSink{},
                                                           [this] { return ui_.StopRequested(); });
    zipBatch_ = std::make_unique<TUndoZipBatch>(Writer(), counters_);
    try {
        Walk();
    } catch (...) {
        Finish(false);
        throw;
    }
    Finish(true);
}

void TRemovalDriver::Walk()
{
    // A copy: the window's messages let through between files cannot shift the nodes.
    const std::vector<TNode> nodes = FlatTree();
    currentCategory_ = results_.CurrentCategory();
    for (size_t index = 0; index < nodes.size(); ++index) {
        const TNode& node = nodes[index];
        if (node.Header) {
            if (auto category = HeaderCategory(node.Text, settings_))
                currentCategory_ = *category;
        } else if (RemoveFinding(node.Text, MethodOf(currentCategory_, settings_))) {
            StepProgress();
        }
        if (ui_.StopRequested() && index + 1 < nodes.size()) {
            zipBatch_->Flush();
            return;
        }
    }
    zipBatch_->Flush();
    ui_.SetScanProblemCounter(L"0");
}

std::vector<TRemovalDriver::TNode> TRemovalDriver::FlatTree() const
{
    std::vector<TNode> nodes;
    nodes.reserve(results_.Groups().size() + results_.FindingCount());
    for (const scan::TResultGroup& group : results_.Groups()) {
        nodes.push_back({true, group.Text});
        for (const std::wstring& finding : group.Findings)
            nodes.push_back({false, finding});
    }
    return nodes;
}

bool TRemovalDriver::RemoveFinding(const std::wstring& text, scan::TRemovalMethod method)
{
    // Whatever comes next may need the files of the waiting batch gone (their folder, say).
    const bool zipFile = method != scan::rmDelete && !text.starts_with(kRegistryPrefix) && !IsFolderText(text);
    if (!zipFile)
        zipBatch_->Flush();
    if (text.starts_with(kRegistryPrefix)) {
        RemoveRegistryFinding(text);
    } else if (IsFolderText(text)) {
        RemoveFolderFinding(text, method);
    } else {
        if (IsProtectedFileName(text))
            return false;
        RemoveFileFinding(text, method);
    }
    return true;
}

void TRemovalDriver::RemoveRegistryFinding(const std::wstring& item)
{
    const int notDeletedBefore = remover_->NotDeletedCount();
    bool deleted = false;
    try {
        deleted = remover_->RemoveRegistryKey(item, false);
        if (deleted) {
            ++counters_.ProblemCount;
            remover_->WriteReg(L"");
        } else if (remover_->NotDeletedCount() > notDeletedBefore) {
            ++counters_.NotRemovedCount;
        }
    } catch (const platform::AppError& error) {
        // Nothing is deleted without its backup. Only the closing line of an entry already
        // deleted is written after the delete; that entry stays counted as cleaned.
        if (!deleted)
            ++counters_.NotRemovedCount;
        NoteError(error.message());
    }
}

void TRemovalDriver::RemoveFileFinding(const std::wstring& path, scan::TRemovalMethod method)
{
    switch (method) {
    case scan::rmDelete:
        // ShredFile takes a failure back from ProblemCount itself.
        ++counters_.ProblemCount;
        ShredFile(path, false, Shred(), counters_, ShredPump());
        break;
    case scan::rmZipWeekly:
        zipBatch_->Add(path, true, false);
        break;
    case scan::rmZipKeep:
        zipBatch_->Add(path, false, false);
        break;
    }
}

void TRemovalDriver::RemoveFolderFinding(const std::wstring& folder, scan::TRemovalMethod method)
{
    if (!platform::FolderExists(folder)) {
        // Gone already: cleaned when deleting, nothing to record in an undo set.
        if (method == scan::rmDelete)
            ++counters_.ProblemCount;
        RemoveUninstallEntry(folder);
        return;
    }
    const DWORD attributes = platform::GetAttributes(folder).value_or(0);
    platform::SetAttributes(folder, FILE_ATTRIBUTE_NORMAL);
    switch (method) {
    case scan::rmDelete:
        RemoveEmptyFolder(folder);
        break;
    case scan::rmZipWeekly:
        AddToBat(folder, true, Writer(), counters_);
        break;
    case scan::rmZipKeep:
        AddToBat(folder, false, Writer(), counters_);
        break;
    }
    if (platform::FolderExists(folder)) {
        if (attributes & kSettableAttributes)
            platform::SetAttributes(folder, attributes & kSettableAttributes);
        return;
    }
    RemoveUninstallEntry(folder);
}

void TRemovalDriver::RemoveEmptyFolder(const std::wstring& folder)
{
    LeaveFolder(folder);
    if (RemoveDirectoryW(platform::RemoveSlash(folder).c_str()))
        ++counters_.ProblemCount;
    else
        ++counters_.NotRemovedCount;
}

// An old update's uninstall entry goes with its folder; the entry is backed up first and
// counts nowhere.
void TRemovalDriver::RemoveUninstallEntry(const std::wstring& folder)
{
    if (currentCategory_ != kOldWindowsUpdatesCategory)
        return;
    const auto updateName = NtUninstallUpdateName(folder);
    if (!updateName)
        return;
    try {
        if (remover_->RemoveRegistryKey(place_.UninstallKeyBase + *updateName, false))
            remover_->WriteReg(L"");
    } catch (const platform::AppError& error) {
        NoteError(error.message());
    }
}

void TRemovalDriver::StepProgress()
{
    ++position_;
    progressText_ = std::to_wstring(position_) + L" 在 " + std::to_wstring(maximum_);
    ui_.SetRemovalProgress(position_, progressText_);
    ui_.SetTitle(std::wstring(platform::kAppTitle) + L" (" + progressText_ + L")");
}

void TRemovalDriver::Finish(bool report)
{
    zipBatch_.reset();
    remover_.reset();
    ui_.SetResultsPage(true);
    ui_.HideRemovalProgress();
    ui_.SetTitle(platform::kAppTitle);
    ui_.SetCleanButtonCaption(kCleanCaption);
    results_.ClearTree();
    ui_.SetWaitCursor(false);
    running_ = false;
    if (report && !(ui_.AutoScanActive() && ui_.CloseWhenFinished()))
        Report();
    ui_.TurnPage(kFinishedPage);
    ui_.ChangeBusy(false);
}

void TRemovalDriver::Report()
{
    ui_.suiShowMessage(RemovalReport(counters_.ProblemCount, counters_.NotRemovedCount));
    if (counters_.IndexDatDeferred)
        ui_.suiShowMessage(kIndexDatDeferredMessage);
    if (!firstError_.empty())
        ui_.suiShowMessage(firstError_);
}

void TRemovalDriver::NoteError(const std::wstring& message)
{
    if (firstError_.empty())
        firstError_ = message;
}

UndoWriter TRemovalDriver::Writer()
{
    UndoWriter writer;
    writer.place = {place_.ProgramFolder, place_.TodayUndoName};
    writer.shred = Shred();
    writer.pump = [this] { ui_.Pump(); };
    writer.notice = [this](const std::wstring& notice) { ui_.SetRemovalProgressText(notice + progressText_); };
    return writer;
}

ShredCallbacks TRemovalDriver::ShredPump()
{
    ShredCallbacks callbacks;
    callbacks.pump = [this] { ui_.Pump(); };
    return callbacks;
}

ShredOptions TRemovalDriver::Shred() const
{
    ShredOptions options;
    options.UseNoRemainsDeletion = settings_.UseNoRemainsDeletion;
    options.StubbornIndexDat = settings_.StubbornIndexDat.Enabled;
    options.ScanMode = static_cast<std::uint8_t>(ui_.ScanMode());
    return options;
}

}  // namespace removal
