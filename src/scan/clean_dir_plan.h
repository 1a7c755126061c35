// What CleanDir searches in every folder of the drive walk: one step per pattern of each
// category taking part, in the order the findings are listed. Built once per scan, so
// each folder is listed once and its names are tested in memory.
#pragma once

#include <string>
#include <vector>

#include "app/settings.h"
#include "scan/mask.h"
#include "scan/walk_kinds.h"

namespace scan {

enum class TStepKind {
    Mask,         // files whose name matches Mask
    ChkFiles,     // "file*.chk" in a drive root or a FOUND folder, then the FOUND folder itself
    EmptyFile,    // zero-byte files (ftEmptyFile)
    EmptyFolder,  // the folder itself when it has no entries
    OldFile,      // files last accessed before a year limit (Test)
    Shortcut,     // "*.lnk" files passing a shortcut test (Test)
    ListedMask,   // a user rule whose pattern the platform must list itself (Pattern)
    InvalidRule,  // a user rule whose text cannot be a name (Pattern holds the text)
};

struct TCleanStep {
    int Category;
    TStepKind Kind;
    TMask Mask{L"*"};
    TFileTestKind Test = ftMask;
    std::wstring Pattern;
};

// Whether category `index` takes part in a scan of `scanMode` with these settings.
bool CategoryTakesPart(const app::TSettings& settings, int scanMode, int index);

std::vector<TCleanStep> BuildCleanDirPlan(const app::TSettings& settings, int scanMode);

// A drive root ("X:\") or a folder on or below a top-level chkdsk folder FOUND.nnn.
bool IsChkFolder(const std::wstring& folder);
// A folder on or below a top-level FOUND.nnn folder.
bool IsFoundFolder(const std::wstring& folder);

}  // namespace scan
