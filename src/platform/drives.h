// Logical drives, their types, and the drives that reach the host's files under Wine.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace platform {

// The roots of all logical drives, in the system's order ("C:\", "D:\", ...).
std::vector<std::wstring> LogicalDriveStrings();

// GetDriveTypeW of the root made of the first three characters of `path` ("C:\" of
// "C:\Temp\a.txt"). An empty text is DRIVE_NO_ROOT_DIR (GetDriveType would answer for the
// current drive instead).
UINT DriveTypeOf(const std::wstring& path);

// Under Wine: the Unix name of a Windows path (UTF-8), asked through kernel32's
// wine_get_unix_file_name. Empty on Windows and for a drive without a mapping.
std::optional<std::string> WineUnixFileName(const std::wstring& path);

// Under Wine: the text of the drive letter's link in the prefix's dosdevices folder
// ("../drive_c", "/"), as Wine's mount manager reports it. Empty on Windows or when unknown.
std::optional<std::string> WineDriveLinkTarget(wchar_t letter);

// The prefix's dosdevices folder (ending in '/') when `unixName` is the Unix name of the
// root of drive `letter` inside it ("<prefix>/dosdevices/c:/"); empty otherwise.
std::optional<std::string> DosdevicesFolderOf(const std::string& unixName, wchar_t letter);

// Where a drive link leads: `linkTarget` taken relative to `dosdevicesFolder` when it is not
// absolute, with "." and ".." resolved by name. No trailing '/'.
std::string ResolveDriveLink(const std::string& dosdevicesFolder, const std::string& linkTarget);

// The decision for one drive, from what Wine reports: the Unix name of its root and the
// text of its dosdevices link. A host drive is one whose files may lie outside the prefix;
// when that cannot be told (the root is not a link in a dosdevices folder, the link is
// unknown, or it leads outside the prefix) the drive counts as a host drive.
bool IsHostUnixDrive(const std::optional<std::string>& rootUnixName, wchar_t letter,
                     const std::optional<std::string>& linkTarget);

// True for a drive that reaches the host's files under Wine. Never true on Windows, nor for
// a drive letter that is not mapped. Besides the link itself, every folder on the way from
// the prefix to the drive's folder must be a real folder, not another link.
bool IsHostDrive(const std::wstring& root);

// The scan's default selection of a drive: a fixed drive that is not a host drive.
bool DefaultDriveSelected(const std::wstring& root);

}  // namespace platform
