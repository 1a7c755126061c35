#include "app/startup_shortcut.h"

#include "app/shortcuts.h"
#include "platform/files.h"
#include "platform/path_util.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace app {

std::wstring StartupFolder(const std::wstring& windowsDir)
{
    platform::TNTRegistry registry(HKEY_CURRENT_USER);
    if (registry.OpenKey(L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")) {
        std::wstring startup;
        try {
            startup = registry.ReadString(L"Startup");
        } catch (const platform::AppError&) {
            startup.clear();
        }
        if (!startup.empty())
            return platform::CheckPath(startup);
    }
    return windowsDir + L"「开始~1\\程序\\启动\\";
}

std::wstring ExpectedStartupTarget(const std::wstring& exePath, uint8_t osKind, bool skipWindowsDefender)
{
    if (osKind == 8 && skipWindowsDefender)
        return platform::FolderPart(exePath) + L"v" + platform::FilePart(exePath);
    return exePath;
}

void EnsureStartupShortcut(platform::TPBShellLink& link, const std::wstring& startupDir,
                           const std::wstring& expectedTarget)
{
    const std::wstring linkFile = startupDir + kStartupLinkName;
    if (!platform::FileExists(linkFile))
        MakeShortcut(link, expectedTarget, std::wstring(kStartupArguments), std::wstring(kApplicationTitle), linkFile,
                     false);
    if (!platform::SameText(CheckTarget(link, linkFile), expectedTarget))
        MakeShortcut(link, expectedTarget, std::wstring(kStartupArguments), std::wstring(kApplicationTitle), linkFile,
                     false);
}

}  // namespace app
