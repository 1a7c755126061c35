// The skip list "skip.ini": findings the user never wants to see again, and the two commands
// of the results page that take selected findings out of the results.
//
// Entries: a file, folder or registry key is the section named by its whole item text with
// the key "KeyOnly" and an empty value; a registry value (item text "key\\:name=data") is the
// key "name" (cut at its first "=", "@" when empty) with the value "data" in the section
// named by the key text. Section and key names match without regard to letter case; the data
// of a value entry is never compared.
#pragma once

#include <span>
#include <string>
#include <unordered_set>
#include <vector>

#include "scan/results.h"

namespace removal {

// Shown when a skip command runs with nothing selected.
inline constexpr const wchar_t* kNothingSelectedMessage =
    L"没有项目被选择.  此按钮移除列表中选择的项目, 故没有从您的计算机中被删除任何项目.";

// The skip list beside the program: its folder followed by "skip.ini".
std::wstring SkipListPath(const std::wstring& programFolder);

// Section, key and value under which an item text is stored.
struct TSkipEntry {
    std::wstring Section;
    std::wstring Key;
    std::wstring Value;
};
TSkipEntry SkipEntryOf(const std::wstring& itemText);

// The entries of skip.ini held in memory for one scan: loaded once, then every check is a
// set lookup.
class TSkipList {
public:
    TSkipList() = default;
    // Loads the file; a missing file skips nothing and is not created. Throws
    // platform::AppError when the file exists but cannot be read.
    explicit TSkipList(const std::wstring& path);

    // True when the finding with this item text is on the list.
    bool CheckRedoEntry(const std::wstring& itemText) const;
    size_t Size() const { return entries_.size(); }

private:
    std::unordered_set<std::wstring> entries_;  // upper-cased section + '\n' + key
};

// Adds the item texts to skip.ini (created when missing), in the given order. An entry that
// is already there is not repeated; a value entry gets the newest data. Throws
// platform::AppError when the file cannot be read or written; the file is then unchanged.
void AddSkipEntries(const std::wstring& path, std::span<const std::wstring> itemTexts);

// "不清理该项目": takes the selected findings out of the results and recounts the problems;
// selected group headers stay. False, with nothing changed, when nothing is selected (the
// caller shows kNothingSelectedMessage).
bool DropSelectedFindings(scan::TResultsList& results, std::span<const scan::TNodeRef> selection);

// "总是跳过该项目": writes the selected findings to skip.ini, then takes them out of the
// results as DropSelectedFindings does. When skip.ini cannot be written the error
// (platform::AppError) leaves the results as they were. False when nothing is selected.
bool SkipSelectedFindings(scan::TResultsList& results, std::span<const scan::TNodeRef> selection,
                          const std::wstring& skipListPath);

}  // namespace removal
