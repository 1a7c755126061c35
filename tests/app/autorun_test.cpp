#include <gtest/gtest.h>

#include "app/autorun.h"
#include "app/command_line.h"
#include "support/test_support.h"

using app::Date;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::WriteFileBytes;

TEST(StartKind, OnlyTheExactFirstArgumentCounts)
{
    struct Case {
        std::vector<std::wstring> arguments;
        app::StartKind kind;
    } cases[] = {
        {{}, app::StartKind::Interactive},
        {{L"schedule"}, app::StartKind::Schedule},
        {{L"bootup"}, app::StartKind::Bootup},
        {{L"Bootup"}, app::StartKind::Interactive},
        {{L"bootup "}, app::StartKind::Interactive},
        {{L"x", L"bootup"}, app::StartKind::Interactive},
        {{L"schedule", L"bootup"}, app::StartKind::Schedule},
        {{L"preview", L"0", L"r.txt"}, app::StartKind::Preview},
        {{L"preview"}, app::StartKind::Preview},
        {{L"Preview", L"0", L"r.txt"}, app::StartKind::Interactive},
        {{L"x", L"preview"}, app::StartKind::Interactive},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::ParseStartKind(c.arguments), c.kind) << testing::PrintToString(c.arguments.size());
}

TEST(BootupDecision, TableOfStoredStates)
{
    const Date today{2008, 12, 20};
    struct Case {
        const char* what;
        const char* ini;  // [AutoRun] body
        bool due;
        const char* expected;  // [AutoRun] body afterwards
    } cases[] = {
        {"weekly, due by the worked example", "Freq=1\r\nYear=2008\r\nMonth=12\r\nDay=13\r\n", true,
         "Freq=1\r\nYear=2008\r\nMonth=12\r\nDay=20\r\nswitch=1\r\n"},
        {"weekly, one day short", "Freq=1\r\nYear=2008\r\nMonth=12\r\nDay=14\r\n", false,
         "Freq=1\r\nYear=2008\r\nMonth=12\r\nDay=14\r\nswitch=0\r\n"},
        {"no date stored is never due", "Freq=0\r\n", false, "Freq=0\r\nswitch=0\r\n"},
        {"never", "Freq=4\r\nYear=2000\r\nMonth=1\r\nDay=1\r\n", false,
         "Freq=4\r\nYear=2000\r\nMonth=1\r\nDay=1\r\nswitch=0\r\n"},
        {"unknown frequency behaves like never", "Freq=9\r\n", false, "Freq=9\r\nswitch=0\r\n"},
        {"pending scan runs regardless of the date", "switch=1\r\nFreq=4\r\n", true, "switch=1\r\nFreq=4\r\n"},
        {"invalid date counts as absent and is replaced", "Freq=1\r\nYear=2008\r\nMonth=13\r\nDay=1\r\n", false,
         "Freq=1\r\nYear=2008\r\nMonth=12\r\nDay=20\r\nswitch=0\r\n"},
        {"monthly is thirty days", "Freq=3\r\nYear=2008\r\nMonth=11\r\nDay=21\r\n", false,
         "Freq=3\r\nYear=2008\r\nMonth=11\r\nDay=21\r\nswitch=0\r\n"},
    };
    const std::wstring dir = TestDir();
    int n = 0;
    for (const Case& c : cases) {
        const std::wstring path = dir + std::to_wstring(n++) + L".ini";
        WriteFileBytes(path, std::string("[AutoRun]\r\n") + c.ini);
        app::TIniFile ini(path);
        EXPECT_EQ(app::DecideBootupAutoScan(ini, today), c.due) << c.what;
        EXPECT_EQ(ReadFileBytes(path), std::string("[AutoRun]\r\n") + c.expected) << c.what;
    }
}

TEST(BootupDecision, MissingFileIsCreatedWithSwitchOff)
{
    const std::wstring path = TestDir() + L"Trimdex.ini";
    app::TIniFile ini(path);
    EXPECT_FALSE(app::DecideBootupAutoScan(ini, {2008, 12, 20}));
    EXPECT_FALSE(ini.ReadBool(L"AutoRun", L"switch", true));
}
