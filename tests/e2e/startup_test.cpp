#include <gtest/gtest.h>

#include "app/ini_file.h"
#include "app/shortcuts.h"
#include "app/startup_shortcut.h"
#include "e2e/program_process.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/test_support.h"
#include "ui/main_menu.h"

using e2e::ProgramProcess;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::WriteFileBytes;

namespace {

std::wstring StartupLink()
{
    return app::StartupFolder(L"C:\\windows\\") + app::kStartupLinkName;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(100);
    }
    return true;
}

// Keeps the user's Startup shortcut out of the way of a test and puts it back afterwards.
class StartupLinkGuard {
public:
    StartupLinkGuard() : link_(StartupLink())
    {
        if (FileExists(link_)) {
            saved_ = ReadFileBytes(link_);
            had_ = true;
        }
        DeleteFileW(link_.c_str());
    }
    ~StartupLinkGuard()
    {
        DeleteFileW(link_.c_str());
        if (had_)
            WriteFileBytes(link_, saved_);
    }
    const std::wstring& Path() const { return link_; }

private:
    std::wstring link_;
    std::string saved_;
    bool had_ = false;
};

}  // namespace

TEST(Startup, BootupThatIsNotDueEndsWithoutWindowAndClearsSwitch)
{
    const std::wstring dir = TestDir();
    WriteFileBytes(dir + L"Trimdex.ini", "[AutoRun]\r\nFreq=4\r\n");
    ProgramProcess program(dir, L"bootup");
    EXPECT_EQ(program.WaitForExit(30000), 0) << "the process should end by itself";
    app::TMemIniFile ini(dir + L"Trimdex.ini");
    EXPECT_TRUE(ini.ValueExists(L"AutoRun", L"switch"));
    EXPECT_FALSE(ini.ReadBool(L"AutoRun", L"switch", true));
}

TEST(Startup, SecondBootupWaitsUntilTheFirstHasEnded)
{
    const std::wstring dir = TestDir();
    // No scan type ticked: the automatic run scans nothing and only clears the pending flag.
    WriteFileBytes(dir + L"Trimdex.ini", "[AutoRun]\r\nswitch=1\r\nFreq=4\r\nType=9\r\n");
    ProgramProcess first(dir, L"bootup");
    ASSERT_NE(first.WaitForMainWindow(30000), nullptr) << "a pending scan opens the window";
    // The automatic run ends at once (nothing to scan yet) and clears the pending flag.
    ASSERT_TRUE(WaitFor([&] { return !app::TMemIniFile(dir + L"Trimdex.ini").ReadBool(L"AutoRun", L"switch", true); },
                        20000));

    ProgramProcess second(dir, L"bootup");
    EXPECT_EQ(second.WaitForExit(5000), -1) << "the second start must wait for the first";
    EXPECT_EQ(first.Close(), 0);
    EXPECT_EQ(second.WaitForExit(20000), 0) << "after the first ended, the second finds nothing due";
}

TEST(Startup, FrequencyMenuKeepsTheStartupShortcut)
{
    StartupLinkGuard guard;
    const std::wstring dir = TestDir();
    ProgramProcess program(dir, L"");
    HWND window = program.WaitForMainWindow(30000);
    ASSERT_NE(window, nullptr);

    SendMessageW(window, WM_COMMAND, ui::EnableWeeklyScan1, 0);
    ASSERT_TRUE(FileExists(guard.Path()));
    platform::TPBShellLink link;
    EXPECT_TRUE(platform::SameText(app::CheckTarget(link, guard.Path()), e2e::ProgramPath(dir)));
    EXPECT_EQ(app::TMemIniFile(dir + L"Trimdex.ini").ReadInteger(L"AutoRun", L"Freq", -1), 1);

    SendMessageW(window, WM_COMMAND, ui::DoNotPerformScan1, 0);
    EXPECT_FALSE(FileExists(guard.Path()));
    EXPECT_EQ(app::TMemIniFile(dir + L"Trimdex.ini").ReadInteger(L"AutoRun", L"Freq", -1), 4);

    SendMessageW(window, WM_COMMAND, ui::EnableMonthlyScan1, 0);
    EXPECT_TRUE(FileExists(guard.Path()));
    EXPECT_EQ(program.Close(), 0);
    EXPECT_EQ(app::TMemIniFile(dir + L"Trimdex.ini").ReadInteger(L"AutoRun", L"Freq", -1), 3);
}

TEST(Startup, StartupShortcutCheckedAtStart)
{
    StartupLinkGuard guard;
    const std::wstring dir = TestDir();
    const std::wstring exe = e2e::ProgramPath(dir);
    struct Case {
        const char* what;
        std::wstring target;
        bool keep;
    } cases[] = {
        {"target differing only in letter case", platform::Upper(exe), true},
        {"another target", dir + L"Other.exe", false},
    };
    for (const Case& c : cases) {
        WriteFileBytes(dir + L"Trimdex.ini", "[AutoRun]\r\nFreq=1\r\nYear=2008\r\nMonth=12\r\nDay=13\r\n");
        platform::TPBShellLink link;
        app::MakeShortcut(link, c.target, std::wstring(L"mine"), std::wstring(L"hand-made"), guard.Path(), false);
        const std::string before = ReadFileBytes(guard.Path());
        {
            ProgramProcess program(dir, L"");
            ASSERT_NE(program.WaitForMainWindow(30000), nullptr) << c.what;
            EXPECT_EQ(program.Close(), 0) << c.what;
        }
        EXPECT_EQ(ReadFileBytes(guard.Path()) == before, c.keep) << c.what;
        EXPECT_TRUE(platform::SameText(app::CheckTarget(link, guard.Path()), c.keep ? c.target : exe)) << c.what;
    }
}

TEST(Startup, FirstStartWritesEverySetting)
{
    const std::wstring dir = TestDir();
    {
        ProgramProcess program(dir, L"");
        ASSERT_NE(program.WaitForMainWindow(30000), nullptr);
        EXPECT_EQ(program.Close(), 0);
    }
    app::TMemIniFile ini(dir + L"Trimdex.ini");
    const std::vector<std::wstring> expected = {L"QuorsComputerTips", L"Form",    L"DuplicateFiles", L"HardDrive",
                                                L"HardDriveUser",     L"Sound",   L"RegClean",       L"AutoRun",
                                                L"DrivesSelected"};
    for (const std::wstring& section : expected)
        EXPECT_TRUE(ini.SectionExists(section)) << testing_support::Utf8(section);
    EXPECT_EQ(ini.ReadInteger(L"AutoRun", L"Freq", -1), 4);
    EXPECT_EQ(ini.ReadInteger(L"Form", L"Skin", -1), 3);
    EXPECT_TRUE(ini.ReadBool(L"DrivesSelected", L"C:\\", false));
    EXPECT_FALSE(ini.ReadBool(L"DrivesSelected", L"D:\\", true)) << "a CD-ROM drive is not selected by default";
}
