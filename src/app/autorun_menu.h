// What the "自动扫描" menu stores: the frequency with its Startup shortcut, and the scan type.
#pragma once

#include <functional>
#include <string>

#include "app/schedule.h"
#include "platform/shell_link.h"

namespace app {

// Where the Startup shortcut lives and what it should start, plus how a file is deleted.
struct StartupShortcutTarget {
    platform::TPBShellLink* Link = nullptr;
    std::wstring StartupDir;
    std::wstring ExpectedTarget;
    std::function<void(const std::wstring&)> DeleteFile;
};

// Stores the frequency chosen in the menu (0 daily .. 3 monthly, 4 never). For 0..3 the
// Startup shortcut is created or corrected; for 4 an existing one is deleted. When any part of
// the last-run date is missing, today's date is stored. The file is saved last, so a shortcut
// that cannot be written (EPBShellLink) leaves the stored frequency as it was.
void StoreFrequencyChoice(const std::wstring& iniPath, int frequency, const StartupShortcutTarget& shortcut,
                          const Date& today);

// Stores the scan type of the automatic scan (0 Clean PC, 1 Remove tracks, 2 Run custom settings).
void StoreScanType(const std::wstring& iniPath, int type);

// Resets the pending automatic scan at the end of an automatic run.
void ClearPendingAutoScan(const std::wstring& iniPath);

}  // namespace app
