// Today's registry backup file: a text in code page 936 that the registry editor imports.
#pragma once

#include <optional>
#include <string>

#include "registry/reg_format.h"

namespace registry {

// The dialect of an existing backup file, from its first line in any letter case; empty when the
// file is missing, empty or starts with anything else.
std::optional<RegFileFormat> BackupFileFormat(const std::wstring& backupPath);

// Appends `text` (leading line breaks dropped) and a line break to the backup file, flushed to
// disk. A missing or empty file, or one without a valid first line, is written anew with the
// header for `osKind` and an empty line; the contents of a replaced non-empty file are kept
// beside it as "<name>.old" (then ".old-2", ...). Throws platform::AppError when the file
// cannot be written.
void WriteReg(const std::wstring& backupPath, int osKind, const std::wstring& text);

}  // namespace registry
