#include "app/autorun_menu.h"

#include "app/ini_file.h"
#include "app/settings.h"
#include "app/startup_shortcut.h"
#include "platform/files.h"

namespace app {

void StoreFrequencyChoice(const std::wstring& iniPath, int frequency, const StartupShortcutTarget& shortcut,
                          const Date& today)
{
    TMemIniFile ini(iniPath);
    ini.WriteInteger(kAutoRunSection, L"Freq", frequency);
    if (frequency >= 0 && frequency <= 3) {
        EnsureStartupShortcut(*shortcut.Link, shortcut.StartupDir, shortcut.ExpectedTarget);
    } else if (frequency == 4) {
        const std::wstring linkFile = shortcut.StartupDir + kStartupLinkName;
        if (platform::FileExists(linkFile))
            shortcut.DeleteFile(linkFile);
    }
    if (ini.ReadInteger(kAutoRunSection, L"Year", -1) == -1 || ini.ReadInteger(kAutoRunSection, L"Month", -1) == -1 ||
        ini.ReadInteger(kAutoRunSection, L"Day", -1) == -1) {
        ini.WriteInteger(kAutoRunSection, L"Year", today.year);
        ini.WriteInteger(kAutoRunSection, L"Month", today.month);
        ini.WriteInteger(kAutoRunSection, L"Day", today.day);
    }
    ini.Save();
}

void StoreScanType(const std::wstring& iniPath, int type)
{
    TMemIniFile ini(iniPath);
    ini.WriteInteger(kAutoRunSection, L"Type", type);
    ini.Save();
}

void ClearPendingAutoScan(const std::wstring& iniPath)
{
    TMemIniFile ini(iniPath);
    ini.WriteBool(kAutoRunSection, L"switch", false);
    ini.Save();
}

}  // namespace app
