// Folder path helpers used throughout the program.
#pragma once

#include <string>

namespace platform {

// Appends a backslash to a non-empty path that does not end in one; "" stays "".
std::wstring CheckPath(const std::wstring& path);
// Drops one trailing backslash, if there is one.
std::wstring RemoveSlash(const std::wstring& path);
// The text after the last '\\' (or '/' or ':'); the whole path when there is none.
std::wstring FilePart(const std::wstring& path);
// The path up to and including its last '\\' (or '/' or ':'); "" when there is none.
std::wstring FolderPart(const std::wstring& path);

}  // namespace platform
