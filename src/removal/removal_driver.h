// The clean command of the results page: walks the results tree from top to bottom and
// removes every finding with the method of its category, counting what was cleaned and
// what stayed, then reports and shows the finish page.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "registry/reg_removal.h"
#include "removal/removal_rules.h"
#include "removal/removal_ui.h"
#include "removal/shred.h"
#include "removal/undo_archive.h"
#include "scan/results.h"

namespace removal {

// Where a run keeps its undo sets and backups.
struct TRemovalPlace {
    std::wstring ProgramFolder;  // ends in a backslash
    std::wstring TodayUndoName;  // "撤销20090312"
    int OSKind = 0;              // picks the registry backup's header
    // The key under which old updates have their uninstall entries.
    std::wstring UninstallKeyBase = kUninstallKeyBase;
};

class TRemovalDriver {
public:
    TRemovalDriver(IRemovalUi& ui, scan::TResultsList& results, const app::TSettings& settings, TRemovalPlace place);

    // Button2 and "移除无用文件(&E)": starts a removal, or asks the running one to stop after
    // the finding in hand.
    void Button2Click();

    bool Running() const { return running_; }
    // ProblemCount: findings cleaned in the last run; NotRemovedCount: findings that stayed.
    const RemovalCounters& Counters() const { return counters_; }
    int CurrentCategory() const { return currentCategory_; }
    // Today's registry backup: program folder + TodayUndoName + "Temp.reg".
    std::wstring RegistryBackupPath() const;

private:
    struct TNode {
        bool Header = false;
        std::wstring Text;
    };

    void Run();
    void Walk();
    std::vector<TNode> FlatTree() const;
    // False when the finding was passed over without a progress step.
    bool RemoveFinding(const std::wstring& text, scan::TRemovalMethod method);
    void RemoveRegistryFinding(const std::wstring& item);
    void RemoveFileFinding(const std::wstring& path, scan::TRemovalMethod method);
    void RemoveFolderFinding(const std::wstring& folder, scan::TRemovalMethod method);
    void RemoveEmptyFolder(const std::wstring& folder);
    void RemoveUninstallEntry(const std::wstring& folder);
    void StepProgress();
    void Finish(bool report);
    void Report();
    void NoteError(const std::wstring& message);
    UndoWriter Writer();
    ShredOptions Shred() const;
    ShredCallbacks ShredPump();

    IRemovalUi& ui_;
    scan::TResultsList& results_;
    const app::TSettings& settings_;
    TRemovalPlace place_;

    bool running_ = false;
    RemovalCounters counters_;
    int currentCategory_ = 0;
    int position_ = 0;
    int maximum_ = 0;
    std::wstring progressText_;
    std::wstring firstError_;
    std::unique_ptr<registry::RegistryRemover> remover_;
    // Files of the zip methods wait here until their batch is on disk.
    std::unique_ptr<TUndoZipBatch> zipBatch_;
};

}  // namespace removal
