// The shortcut in the user's Startup folder that starts the program at log-on.
#pragma once

#include <cstdint>
#include <string>

#include "platform/shell_link.h"

namespace app {

inline constexpr wchar_t kStartupLinkName[] = L"Trimdex.lnk";
inline constexpr wchar_t kStartupArguments[] = L"bootup";
inline constexpr wchar_t kApplicationTitle[] = L"Kelvo Tidymate";

// The Startup folder with a trailing backslash: the "Startup" value of the user's Shell
// Folders key; when the key does not open or the value is empty, the old default below
// the Windows folder.
std::wstring StartupFolder(const std::wstring& windowsDir);

// The program itself, or on Vista with the Defender item ticked its companion launcher:
// the program's folder, "v" and the program's file name.
std::wstring ExpectedStartupTarget(const std::wstring& exePath, uint8_t osKind, bool skipWindowsDefender);

// Creates the link when missing and rewrites it when its target differs (letter case aside)
// from the expected one; an unreadable link is rewritten too. Raises platform::EPBShellLink
// when the link cannot be written.
void EnsureStartupShortcut(platform::TPBShellLink& link, const std::wstring& startupDir,
                           const std::wstring& expectedTarget);

}  // namespace app
