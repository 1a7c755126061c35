// The per-file tests of SearchForFile: dates, empty files, shortcut targets.
#include <gtest/gtest.h>

#include <algorithm>

#include "scan/file_tests.h"
#include "scan/folder_walk.h"
#include "support/test_support.h"
#include "walk_test_support.h"

using namespace scan;
using namespace walk_testing;
using testing_support::TestDir;
using testing_support::Utf8;

namespace {

std::vector<std::wstring> FoundBy(const std::wstring& pattern, TFileTestKind test, int mode = 0)
{
    const app::TSettings settings = SettingsWith({});
    TScanState state;
    state.Settings = &settings;
    state.ScanMode = static_cast<uint8_t>(mode);
    TRecordingHost host;
    TFolderWalk(state, host, {}, FixedClock()).SearchForFile(pattern, test);
    std::vector<std::wstring> names;
    for (const TFinding& finding : host.Findings)
        names.push_back(finding.Path.substr(finding.Path.rfind(L'\\') + 1));
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(FileTests, OldFileLimitsAndAccessTimesThatAreNeverOld)
{
    EXPECT_EQ(OldFileLimit(ftOldSince1999), 36160);
    EXPECT_EQ(OldFileLimit(ftOldSince2000), 36525);
    EXPECT_EQ(OldFileLimit(ftOldSince2001), 36891);
    EXPECT_EQ(OldFileLimit(ftOldSince2002), 37256);
    EXPECT_FALSE(OldFileLimit(ftMask).has_value());

    const struct {
        double accessed;
        bool old;
    } cases[] = {
        {36159.99, true}, {36160.0, false}, {36160.5, false}, {1.0, true}, {0.0, false}, {0.5, false}, {-5000.0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AccessedBefore(UtcOfLocalSerial(c.accessed), 36160), c.old) << c.accessed;
    EXPECT_FALSE(AccessedBefore(FILETIME{}, 36160));  // no access time recorded
}

TEST(FileTests, WrittenBeforeYesterdayAndMoreThanAWeekAgo)
{
    const std::wstring dir = TestDir();
    const TDateSerial today = TodayOf(FixedNow());
    const struct {
        const wchar_t* name;
        double written;
    } files[] = {
        {L"today.dat", today + 0.1},   {L"yesterday.dat", today - 0.5}, {L"twodays.dat", today - 1.5},
        {L"week.dat", today - 7},      {L"overweek.dat", today - 7.01},
    };
    for (const auto& f : files) {
        MakeFile(dir + f.name);
        SetTimes(dir + f.name, f.written);
    }
    EXPECT_EQ(FoundBy(dir + L"*", ftOlderThanDay),
              (std::vector<std::wstring>{L"overweek.dat", L"twodays.dat", L"week.dat"}));
    EXPECT_EQ(FoundBy(dir + L"*.dat", ftOlderThanWeek), (std::vector<std::wstring>{L"overweek.dat"}));
    EXPECT_EQ(FoundBy(dir + L"t*", ftOlderThanDay), (std::vector<std::wstring>{L"twodays.dat"}));
}

TEST(FileTests, EmptyFilesByMode)
{
    const std::wstring dir = TestDir();
    for (const wchar_t* name : {L"a.inf", L"b.CPY", L"c.txt", L"d", L"e.MAPIMail", L"f.DeskLink", L"g.ZFSendToTarget",
                                L"h.mydocs", L"i.inf.bak"})
        MakeFile(dir + name, 0);
    MakeFile(dir + L"full.inf", 3);
    MakeFolder(dir + L"folder.inf");
    EXPECT_EQ(FoundBy(dir + L"*", ftEmptyFile, 0), (std::vector<std::wstring>{L"a.inf", L"b.CPY"}));
    for (int mode : {1, 2})
        EXPECT_EQ(FoundBy(dir + L"*", ftEmptyFile, mode),
                  (std::vector<std::wstring>{L"a.inf", L"b.CPY", L"c.txt", L"d", L"i.inf.bak"}))
            << "mode " << mode;
}

TEST(FileTests, ShortcutTargets)
{
    const std::wstring dir = TestDir();
    MakeFile(dir + L"present.txt");
    MakeFolder(dir + L"present-folder");
    MakeLink(dir + L"missing.lnk", dir + L"gone.exe");
    MakeLink(dir + L"present.lnk", dir + L"present.txt");
    MakeLink(dir + L"folder.lnk", dir + L"present-folder");
    MakeLink(dir + L"cdrom.lnk", L"D:\\setup.exe");
    MakeLink(dir + L"removable.lnk", L"E:\\gone.exe");
    testing_support::WriteFileBytes(dir + L"unreadable.lnk", "not a shell link");

    EXPECT_EQ(FoundBy(dir + L"*.lnk", ftBadShortcut), (std::vector<std::wstring>{L"missing.lnk"}));
    EXPECT_EQ(FoundBy(dir + L"*.lnk", ftCdShortcut), (std::vector<std::wstring>{L"cdrom.lnk"}));
    EXPECT_TRUE(FoundBy(dir + L"*.lnk", ftWebShortcut).empty());

    // Targets as CheckTarget gives them. Wine's link object stores a URL given as a path as a
    // file path, so web targets are checked as text only.
    const struct {
        const wchar_t* target;
        bool bad, web, cd;
    } targets[] = {
        {L"http://example.com/", false, true, false},
        {L"HTTPS://example.com/", false, true, false},
        {L"ftp://example.com/", false, false, false},
        {L"错误", false, false, false},
        {L"", false, false, false},
        {L"D:\\setup.exe", false, false, true},
        {L"C:\\no\\such\\file.exe", true, false, false},
        {L"C:\\", false, false, false},
    };
    for (const auto& t : targets) {
        EXPECT_EQ(IsBadShortcutTarget(t.target), t.bad) << Utf8(t.target);
        EXPECT_EQ(IsWebShortcutTarget(t.target), t.web) << Utf8(t.target);
        EXPECT_EQ(IsCdShortcutTarget(t.target), t.cd) << Utf8(t.target);
    }
}
