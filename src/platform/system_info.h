// Windows version and well-known folders.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace platform {

// What GetVersionEx reports, reduced to what the version code needs.
struct OSVersionFacts {
    DWORD platformId = 0;
    DWORD major = 0;
    DWORD minor = 0;
    std::wstring servicePack;  // szCSDVersion
};

// The version number of the table below for these facts; -1 when unrecognised.
//   9x 4.0 -> 0, 9x 4.10 -> 1 (2 when the service-pack text's second character is 'A'),
//   9x 4.90 -> 3, NT 4 or older -> 4, NT 5.0 -> 5, NT 5.1 -> 6, NT 5.2 -> 7, NT 6.0 -> 8.
int OSInfoFromVersion(const OSVersionFacts& facts);

// The running system's number by the table above (-1 when GetVersionExW fails).
int GetOSInfo();

// The Windows version code kept as OSKind: 0 unrecognised, 1 Windows 95, 2 Windows 98 and
// 98 SE, 3 Windows Me, 4 Windows NT 4 or older, 5 Windows 2000, 6 Windows XP, 7 version 5.2,
// 8 Windows Vista.
uint8_t OSKindFromOSInfo(int osInfo);

// ExpandEnvironmentStringsW without a length limit; the text unchanged when it fails.
std::wstring ExpandEnvironmentText(const std::wstring& text);

// The Windows and system folders, each ending in a backslash.
std::wstring WindowsFolder();
std::wstring SystemFolder();

}  // namespace platform
