// Names of the undo files in the program folder: today's archives and folder lists, archive
// parts, and the layout that expiry reads back (prefix, yyyymmdd, "Temp", "-n", extension).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/schedule.h"

namespace removal {

inline constexpr wchar_t kUndoPrefix[] = L"撤销";
// An archive larger than this becomes a numbered part before the next file is added.
inline constexpr uint64_t kUndoArchiveLimit = 10'000'000;

// Where today's undo sets go.
struct UndoPlace {
    std::wstring programFolder;  // ends in a backslash
    std::wstring todayStem;      // TodayUndoName: "撤销20090312"

    // Today's set of one kind: the stem and "Temp" (weekly) or the stem alone (kept).
    std::wstring BaseName(bool weekly) const;
    std::wstring ArchivePath(bool weekly) const;     // base name + ".zip"
    std::wstring FolderListPath(bool weekly) const;  // base name + ".bat"
};

// "X.zip" with part 3 is "X-3.zip".
std::wstring ArchivePartPath(const std::wstring& archivePath, int part);

// What an undo file's name says.
struct UndoFileName {
    app::Date date;
    bool weekly = false;     // "Temp" right after the date
    bool part = false;       // the name holds a "-" (an archive part)
    std::wstring extension;  // from the last '.', upper case: ".ZIP"
    std::wstring setName;    // the name without its last four characters (its extension)
};

// Reads a file name by position: the prefix, eight date characters, then "Temp" for weekly
// sets. Nothing for names without the prefix or whose date is no real date.
std::optional<UndoFileName> ParseUndoFileName(const std::wstring& name);

}  // namespace removal
