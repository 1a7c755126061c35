#include "scan/file_tests.h"

#include "platform/drives.h"
#include "platform/text.h"

namespace scan {

namespace {

const wchar_t kUnreadableTarget[] = L"错误";

bool IsUsableTarget(const std::wstring& target) { return !target.empty() && target != kUnreadableTarget; }

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

std::optional<TDateSerial> OldFileLimit(TFileTestKind test)
{
    switch (test) {
    case ftOldSince1999: return 36160;  // 1998-12-31
    case ftOldSince2000: return 36525;  // 1999-12-31
    case ftOldSince2001: return 36891;  // 2000-12-31
    case ftOldSince2002: return 37256;  // 2001-12-31
    default: return std::nullopt;
    }
}

bool AccessedBefore(const FILETIME& lastAccess, TDateSerial limit)
{
    const std::optional<TDateSerial> serial = LocalSerialOf(lastAccess);
    return serial && *serial >= 1 && *serial < limit;
}

std::wstring UpperExtension(const std::wstring& name)
{
    const size_t dot = name.rfind(L'.');
    if (dot == std::wstring::npos)
        return {};
    return platform::Upper(name.substr(dot));
}

bool IsEmptyFileFinding(const platform::FileEntry& entry, int scanMode)
{
    if (!entry.IsFile() || entry.size != 0)
        return false;
    const std::wstring extension = UpperExtension(entry.name);
    if (scanMode == 0)
        return extension == L".INF" || extension == L".CPY";
    return extension != L".MAPIMAIL" && extension != L".DESKLINK" && extension != L".ZFSENDTOTARGET" &&
           extension != L".MYDOCS";
}

bool IsBadShortcutTarget(const std::wstring& target)
{
    return IsUsableTarget(target) && platform::DriveTypeOf(target) == DRIVE_FIXED && !PathExists(target);
}

bool IsWebShortcutTarget(const std::wstring& target) { return platform::Upper(target.substr(0, 4)) == L"HTTP"; }

bool IsCdShortcutTarget(const std::wstring& target)
{
    return IsUsableTarget(target) && platform::DriveTypeOf(target) == DRIVE_CDROM;
}

bool IsShortcutTest(TFileTestKind test)
{
    return test == ftBadShortcut || test == ftWebShortcut || test == ftCdShortcut;
}

bool ShortcutTestPasses(TFileTestKind test, const std::wstring& target)
{
    switch (test) {
    case ftBadShortcut: return IsBadShortcutTarget(target);
    case ftWebShortcut: return IsWebShortcutTarget(target);
    case ftCdShortcut: return IsCdShortcutTarget(target);
    default: return false;
    }
}

bool WrittenBeforeToday(const FILETIME& lastWrite, TDateSerial today) { return TimeBefore(lastWrite, today); }

bool WrittenMoreThanDaysAgo(const FILETIME& lastWrite, TDateSerial today, int days)
{
    return TimeBefore(lastWrite, today - days);
}

}  // namespace scan
