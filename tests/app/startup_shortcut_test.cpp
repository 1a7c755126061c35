#include <gtest/gtest.h>

#include "app/autorun_menu.h"
#include "app/ini_file.h"
#include "app/shortcuts.h"
#include "app/startup_shortcut.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/test_support.h"

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Wide;
using testing_support::WriteFileBytes;

namespace {

const wchar_t kShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

app::StartupShortcutTarget TargetIn(platform::TPBShellLink& link, const std::wstring& dir, const std::wstring& exe,
                                    std::vector<std::wstring>* deleted)
{
    app::StartupShortcutTarget target;
    target.Link = &link;
    target.StartupDir = dir;
    target.ExpectedTarget = exe;
    target.DeleteFile = [deleted](const std::wstring& path) {
        deleted->push_back(path);
        DeleteFileW(path.c_str());
    };
    return target;
}

}  // namespace

TEST(StartupShortcut, ExpectedTarget)
{
    EXPECT_EQ(app::ExpectedStartupTarget(L"D:\\P\\X.exe", 8, true), L"D:\\P\\vX.exe");
    EXPECT_EQ(app::ExpectedStartupTarget(L"D:\\P\\X.exe", 8, false), L"D:\\P\\X.exe");
    EXPECT_EQ(app::ExpectedStartupTarget(L"D:\\P\\X.exe", 6, true), L"D:\\P\\X.exe");
}

TEST(StartupShortcut, CreatesMissingLinkAndKeepsOneThatDiffersOnlyInCase)
{
    const std::wstring dir = TestDir();
    const std::wstring exe = dir + L"Tidymate.exe";
    WriteFileBytes(exe, "MZ");
    platform::TPBShellLink link;
    app::EnsureStartupShortcut(link, dir, exe);

    const std::wstring linkFile = dir + L"Trimdex.lnk";
    platform::TPBShellLink reader;
    reader.SetFileName(linkFile);
    reader.ReadLink();
    EXPECT_TRUE(platform::SameText(reader.Target(), exe));
    EXPECT_EQ(reader.Arguments(), L"bootup");
    EXPECT_EQ(reader.Description(), L"Kelvo Tidymate");
    EXPECT_TRUE(platform::SameText(reader.WorkingDir(), dir));

    // A link to the same program spelt in other letters, with other fields, stays as it is.
    app::MakeShortcut(link, platform::Upper(exe), std::wstring(L"mine"), std::wstring(L"hand-made"), linkFile, false);
    const std::string before = ReadFileBytes(linkFile);
    app::EnsureStartupShortcut(link, dir, exe);
    EXPECT_EQ(ReadFileBytes(linkFile), before);
}

TEST(StartupShortcut, RewritesLinkToAnotherTargetOrUnreadable)
{
    const std::wstring dir = TestDir();
    const std::wstring exe = dir + L"Tidymate.exe";
    const std::wstring linkFile = dir + L"Trimdex.lnk";
    platform::TPBShellLink link;
    struct Case {
        const char* what;
        std::function<void()> prepare;
    } cases[] = {
        {"other target",
         [&] { app::MakeShortcut(link, dir + L"Other.exe", std::nullopt, std::nullopt, linkFile, false); }},
        {"not a link", [&] { WriteFileBytes(linkFile, "garbage"); }},
    };
    for (const Case& c : cases) {
        c.prepare();
        app::EnsureStartupShortcut(link, dir, exe);
        EXPECT_TRUE(platform::SameText(app::CheckTarget(link, linkFile), exe)) << c.what;
    }
}

TEST(FrequencyMenu, NeverDeletesTheLinkAndOtherFrequenciesCreateIt)
{
    const std::wstring dir = TestDir();
    const std::wstring ini = dir + L"Trimdex.ini";
    const std::wstring linkFile = dir + L"Trimdex.lnk";
    platform::TPBShellLink link;
    std::vector<std::wstring> deleted;
    const auto target = TargetIn(link, dir, dir + L"Tidymate.exe", &deleted);

    app::StoreFrequencyChoice(ini, 1, target, {2008, 12, 20});
    EXPECT_TRUE(FileExists(linkFile));
    app::TMemIniFile stored(ini);
    EXPECT_EQ(stored.ReadInteger(L"AutoRun", L"Freq", -1), 1);
    EXPECT_EQ(stored.ReadInteger(L"AutoRun", L"Year", -1), 2008);
    EXPECT_EQ(stored.ReadInteger(L"AutoRun", L"Month", -1), 12);
    EXPECT_EQ(stored.ReadInteger(L"AutoRun", L"Day", -1), 20);

    app::StoreFrequencyChoice(ini, 4, target, {2009, 1, 5});
    EXPECT_FALSE(FileExists(linkFile));
    EXPECT_EQ(deleted, std::vector<std::wstring>{linkFile});
    app::TMemIniFile after(ini);
    EXPECT_EQ(after.ReadInteger(L"AutoRun", L"Freq", -1), 4);
    EXPECT_EQ(after.ReadInteger(L"AutoRun", L"Day", -1), 20) << "a stored date is not reset";

    app::StoreFrequencyChoice(ini, 0, target, {2009, 1, 5});
    EXPECT_TRUE(FileExists(linkFile));
}

TEST(FrequencyMenu, ShortcutFailureKeepsStoredFrequency)
{
    const std::wstring dir = TestDir();
    const std::wstring ini = dir + L"Trimdex.ini";
    WriteFileBytes(ini, "[AutoRun]\r\nFreq=4\r\n");
    platform::TPBShellLink link;
    std::vector<std::wstring> deleted;
    const auto target = TargetIn(link, dir + L"missing\\", dir + L"Tidymate.exe", &deleted);
    EXPECT_THROW(app::StoreFrequencyChoice(ini, 2, target, {2009, 1, 5}), platform::EPBShellLink);
    EXPECT_EQ(app::TMemIniFile(ini).ReadInteger(L"AutoRun", L"Freq", -1), 4);
}

TEST(StartupShortcut, StartupFolderFromShellFoldersWithFallback)
{
    platform::TNTRegistry registry(HKEY_CURRENT_USER);
    ASSERT_TRUE(registry.OpenKey(kShellFolders));
    const std::wstring saved = registry.ReadString(L"Startup");
    struct Restore {
        platform::TNTRegistry& registry;
        std::wstring value;
        ~Restore() { registry.WriteString(L"Startup", value); }
    } restore{registry, saved};

    registry.WriteString(L"Startup", L"C:\\Start Menu\\Startup");
    EXPECT_EQ(app::StartupFolder(L"C:\\WINDOWS\\"), L"C:\\Start Menu\\Startup\\");
    registry.WriteString(L"Startup", L"");
    EXPECT_EQ(app::StartupFolder(L"C:\\WINDOWS\\"), Wide("C:\\WINDOWS\\「开始~1\\程序\\启动\\"));
}
