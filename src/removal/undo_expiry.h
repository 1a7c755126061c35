// DeleteOldUndoFiles: deletes expired and broken undo files in the program folder and names
// the sets that remain, for the undo page's set list.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "removal/progress.h"
#include "removal/shred.h"
#include "removal/undo_names.h"

namespace removal {

inline constexpr wchar_t kDeleteOldUndoCaption[] = L"删除旧的撤销文件";

// A weekly set expires once midnight of its date plus seven whole days lies before `now`
// (local time): the set of 1 March survives up to 8 March 00:00:00. Kept sets never expire.
bool IsExpired(const UndoFileName& name, const SYSTEMTIME& now);

// Goes through the files of the program folder whose names begin with the undo prefix,
// showing each in the progress window:
// - an archive (".zip", no "-") with entries is deleted when expired, else its set is listed;
//   an empty archive, or a file that opens but is no zip archive, is deleted;
// - an archive part ("-n.zip") is deleted when expired and never listed;
// - a folder list or registry backup (".bat", ".reg") is deleted when expired, else listed.
// Interrupted adds are rolled back first (their ".journal" files belong to the archive); an
// archive that cannot be opened now is never taken for a broken one. Names whose date is not
// a real date are left alone. Deletion goes through ShredFile. Once the window is cancelled,
// nothing more is deleted and what would have been is listed instead (parts excepted).
// Returns the set names (file names without extension), each once, in name order.
std::vector<std::wstring> DeleteOldUndoFiles(const std::wstring& programFolder, const SYSTEMTIME& now,
                                             const ShredOptions& shred, ProgressWindow& progress);

}  // namespace removal
