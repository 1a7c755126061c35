#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "platform/registry.h"
#include "platform/system_info.h"
#include "platform/text.h"
#include "support/test_support.h"

using namespace platform;
using testing_support::RunProcess;
using testing_support::TestDir;
using testing_support::Utf8;

namespace {

constexpr wchar_t kChildVariable[] = L"TIDYMATE_OSINFO_CHILD";

// A child run reports GetOSInfo and OSKind through its exit code.
int EncodeVersion(int osInfo, int osKind) { return 100 + (osInfo + 1) * 10 + osKind; }

}  // namespace

TEST(SystemInfo, VersionTable)
{
    struct Case {
        DWORD platform;
        DWORD major;
        DWORD minor;
        const wchar_t* servicePack;
        int osInfo;
        int osKind;
    } cases[] = {
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, L"", 0, 1},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, L"", 1, 2},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, L" A ", 2, 2},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, L"A", 1, 2},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, L" B", 1, 2},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, L" A", 3, 3},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 20, L"", -1, 0},
        {VER_PLATFORM_WIN32_NT, 3, 51, L"", 4, 4},
        {VER_PLATFORM_WIN32_NT, 4, 0, L"Service Pack 6", 4, 4},
        {VER_PLATFORM_WIN32_NT, 5, 0, L"", 5, 5},
        {VER_PLATFORM_WIN32_NT, 5, 1, L"Service Pack 3", 6, 6},
        {VER_PLATFORM_WIN32_NT, 5, 2, L"", 7, 7},
        {VER_PLATFORM_WIN32_NT, 6, 0, L"", 8, 8},
        {VER_PLATFORM_WIN32_NT, 6, 1, L"Service Pack 1", -1, 0},
        {VER_PLATFORM_WIN32_NT, 10, 0, L"", -1, 0},
        {VER_PLATFORM_WIN32s, 3, 10, L"", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.platform) + " " + std::to_string(c.major) + "." + std::to_string(c.minor) + " '" +
                     Utf8(c.servicePack) + "'");
        const int osInfo = OSInfoFromVersion({c.platform, c.major, c.minor, c.servicePack});
        EXPECT_EQ(osInfo, c.osInfo);
        EXPECT_EQ(OSKindFromOSInfo(osInfo), c.osKind);
    }
    EXPECT_EQ(OSKindFromOSInfo(9), 0);
    EXPECT_EQ(OSKindFromOSInfo(-2), 0);
}

TEST(SystemInfo, ReportsTheWindowsVersionThatWineIsSetTo)
{
    if (GetEnvironmentVariableW(kChildVariable, nullptr, 0) != 0) {
        const int osInfo = GetOSInfo();
        std::exit(EncodeVersion(osInfo, OSKindFromOSInfo(osInfo)));
    }
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    const std::wstring dir = TestDir();

    struct Case {
        const wchar_t* version;
        int osInfo;
        int osKind;
    } cases[] = {
        {L"winxp", 6, 6}, {L"win2k", 5, 5}, {L"vista", 8, 8}, {L"win2003", 7, 7}, {L"nt40", 4, 4},
        {L"win7", -1, 0}, {L"win98", 2, 2}, {L"win95", 0, 1}, {L"winme", 3, 3},
    };
    const std::wstring appDefaults = L"Software\\Wine\\AppDefaults\\";
    SetEnvironmentVariableW(kChildVariable, L"1");
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.version));
        // Wine takes the version per program from AppDefaults\<file name>.
        const std::wstring exeName = std::wstring(L"tidymate-osinfo-") + c.version + L".exe";
        ASSERT_TRUE(CopyFileW(self, (dir + exeName).c_str(), FALSE));
        TNTRegistry reg;
        ASSERT_TRUE(reg.CreateKey(appDefaults + exeName));
        reg.WriteString(L"Version", c.version);
        reg.CloseKey();
        const int code = RunProcess(L"\"" + dir + exeName +
                                    L"\" --gtest_filter=SystemInfo.ReportsTheWindowsVersionThatWineIsSetTo");
        reg.DeleteKey(appDefaults + exeName);
        EXPECT_EQ(code, EncodeVersion(c.osInfo, c.osKind));
    }
    SetEnvironmentVariableW(kChildVariable, nullptr);
}

TEST(SystemInfo, FoldersAndEnvironment)
{
    const std::wstring windows = WindowsFolder();
    const std::wstring system = SystemFolder();
    EXPECT_TRUE(SameText(windows, L"C:\\windows\\")) << Utf8(windows);
    EXPECT_TRUE(SameText(system, L"C:\\windows\\system32\\")) << Utf8(system);

    EXPECT_TRUE(SameText(ExpandEnvironmentText(L"%SystemRoot%\\Temp"), windows + L"Temp"));
    EXPECT_EQ(ExpandEnvironmentText(L"TEMP=%TIDYMATE_UNDEFINED%"), L"TEMP=%TIDYMATE_UNDEFINED%");
    EXPECT_EQ(ExpandEnvironmentText(L""), L"");

    // Expansions far longer than the first buffer.
    const std::wstring longValue(3000, L'x');
    ASSERT_TRUE(SetEnvironmentVariableW(L"TIDYMATE_LONG", longValue.c_str()));
    EXPECT_EQ(ExpandEnvironmentText(L"[%TIDYMATE_LONG%][%TIDYMATE_LONG%]"),
              L"[" + longValue + L"][" + longValue + L"]");
    SetEnvironmentVariableW(L"TIDYMATE_LONG", nullptr);
}
