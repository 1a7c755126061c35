// The user-defined rules (categories 24..33): what each rule type searches.
#pragma once

#include <optional>
#include <string>

namespace scan {

enum TUserRuleKind {
    urEndsWith = 0,      // "结尾以": names ending with the text
    urBeginsWith = 1,    // "开头以": names beginning with the text
    urWildcard = 2,      // "使用通配符 - ": names matching the text as a mask
    urFilesInFolder = 3, // "在文件夹中 ": every file directly in the folder
    urFolderTree = 4,    // "包含子文件夹 ": every file in the folder and its subfolders
};

// The name pattern of a rule of type 0..2; empty for another type or an empty text.
std::optional<std::wstring> NameRulePattern(int kind, const std::wstring& text);

// A rule text of type 0..2 must be a name: "/", ":" or "\" make it invalid.
bool IsInvalidNameRuleText(const std::wstring& text);

// A folder rule (type 3 or 4) needs an absolute folder: "X:\..." or "\\server\...".
bool IsAbsoluteFolder(const std::wstring& text);

// The message shown for a rule that cannot be applied.
std::wstring InvalidRuleMessage(const std::wstring& text);

}  // namespace scan
