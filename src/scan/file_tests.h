// The tests a listed file must pass to be a finding, each on what the listing reports.
#pragma once

#include <optional>
#include <string>

#include "platform/files.h"
#include "scan/scan_dates.h"
#include "scan/walk_kinds.h"

namespace scan {

// The last-access limit of an old-file test (ftOldSince1999 .. ftOldSince2002).
std::optional<TDateSerial> OldFileLimit(TFileTestKind test);

// A file last accessed before the limit. A missing, unconvertible or pre-1900 access time
// (serial below 1) is no real access time: such a file is never old.
bool AccessedBefore(const FILETIME& lastAccess, TDateSerial limit);

// The extension of a name from its last dot, upper-cased ("" when there is no dot).
std::wstring UpperExtension(const std::wstring& name);

// A zero-byte file that the empty-file test accepts: in Clean PC mode only .INF and .CPY;
// in the other modes any but the shell's stub files (.MAPIMAIL, .DESKLINK, ...).
bool IsEmptyFileFinding(const platform::FileEntry& entry, int scanMode);

// The shortcut tests on a target as CheckTarget gives it ("" for a missing link, "错误"
// for an unreadable one; neither passes any test).
bool IsBadShortcutTarget(const std::wstring& target);
bool IsWebShortcutTarget(const std::wstring& target);
bool IsCdShortcutTarget(const std::wstring& target);
bool ShortcutTestPasses(TFileTestKind test, const std::wstring& target);
bool IsShortcutTest(TFileTestKind test);

// Date rules on a file time (local dates; `today` is today at 00:00).
bool WrittenBeforeToday(const FILETIME& lastWrite, TDateSerial today);
// Written more than `days` days before today at 00:00.
bool WrittenMoreThanDaysAgo(const FILETIME& lastWrite, TDateSerial today, int days);

}  // namespace scan
