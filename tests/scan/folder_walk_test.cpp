// SearchThruDir and SearchThruHD: the folder and file rules of every walk kind, the special
// folders of the drive walk, the folder markers, links, the stop button.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/files.h"
#include "scan/folder_walk.h"
#include "scan/quiet_scan_host.h"
#include "scan/results.h"
#include "support/test_support.h"
#include "walk_test_support.h"

using namespace scan;
using namespace walk_testing;
using testing_support::TestDir;

namespace {

using Paths = std::vector<std::wstring>;

Paths Sorted(Paths paths)
{
    std::sort(paths.begin(), paths.end());
    return paths;
}

// One walk of a scan in `mode` with these settings, recorded.
struct TWalkRun {
    explicit TWalkRun(int mode, app::TSettings chosen = SettingsWith({}), std::vector<app::TDriveSelection> drives = {})
        : settings(std::move(chosen))
    {
        state.Settings = &settings;
        state.ScanMode = static_cast<uint8_t>(mode);
        walk = std::make_unique<TFolderWalk>(state, host, std::move(drives), FixedClock());
    }
    app::TSettings settings;
    TScanState state;
    TRecordingHost host;
    std::unique_ptr<TFolderWalk> walk;
};

}  // namespace

TEST(FolderWalk, WholeTreeKindsByModeAndAge)
{
    const std::wstring dir = TestDir();
    const TDateSerial today = TodayOf(FixedNow());
    MakeFile(dir + L"old.dat");
    MakeFile(dir + L"yesterday.dat");
    MakeFile(dir + L"today.dat");
    MakeFile(dir + L"oldsub\\inner.dat");
    MakeFile(dir + L"newsub\\fresh.dat");
    SetTimes(dir + L"old.dat", today - 10);
    SetTimes(dir + L"yesterday.dat", today - 0.5);
    SetTimes(dir + L"today.dat", today + 0.1);
    SetTimes(dir + L"oldsub\\inner.dat", today - 10);
    SetTimes(dir + L"newsub\\fresh.dat", today - 2);
    SetTimes(dir + L"oldsub", today - 10);
    SetTimes(dir + L"newsub", today - 2);

    const Paths all = {L"newsub\\", L"newsub\\fresh.dat", L"old.dat", L"oldsub\\", L"oldsub\\inner.dat",
                       L"today.dat", L"yesterday.dat"};
    const Paths recentSkipped = {L"old.dat", L"oldsub\\", L"oldsub\\inner.dat"};
    const struct {
        TFolderWalkKind kind;
        int mode;
        Paths expected;
        bool marksFolders;
    } cases[] = {
        {fwWholeFolder, 0, all, true},
        {fwUninstallBackup, 0, all, true},
        {fwTempFolder, 0, {L"newsub\\", L"newsub\\fresh.dat", L"old.dat", L"oldsub\\", L"oldsub\\inner.dat", L"yesterday.dat"}, true},
        {fwTempFolder, 1, all, true},
        {fwBrowserFolder, 0, {L"newsub\\", L"old.dat", L"oldsub\\", L"oldsub\\inner.dat"}, true},
        {fwBrowserFolder, 2, all, true},
        {fwRecycleBin, 0, recentSkipped, true},
        {fwRecycleBin, 1, all, true},
        {fwOnlineServices, 0, recentSkipped, true},
        {fwUserFolder, 2, {L"newsub\\fresh.dat", L"old.dat", L"oldsub\\inner.dat", L"today.dat", L"yesterday.dat"}, false},
        {fwFullWalk, 0, {}, false},
        {fwRestorePoints, 0, {}, false},
    };
    for (const auto& c : cases) {
        TWalkRun run(c.mode);
        run.walk->SearchThruDir(dir, c.kind);
        const std::string label = "kind " + std::to_string(c.kind) + " mode " + std::to_string(c.mode);
        EXPECT_EQ(Sorted(RelativePaths(run.host.Findings, dir)), c.expected) << label;
        EXPECT_EQ(run.state.HandledFolders.Contains(dir + L"oldsub"), c.marksFolders) << label;
        // Findings belong to the caller's category; only the drive walk's CleanDir makes
        // each of its categories current in turn.
        EXPECT_EQ(run.host.Labels.empty(), c.kind != fwFullWalk) << label;
    }
}

TEST(FolderWalk, SpecialFoldersOfTheDriveWalk)
{
    const std::wstring dir = TestDir();
    const TDateSerial today = TodayOf(FixedNow());
    const wchar_t* files[] = {
        L"temp\\a.txt", L"Tmp\\b.txt", L"Temporary Internet Files\\c.txt", L"MSSTARTUP\\d.txt",
        L"Install Office\\e.txt", L"Installer\\x.txt", L"Outlook 98 Setup\\f.txt", L"IE 6 Setup\\g.txt",
        L"$NtUninstallKB1$\\h.txt", L"$NtUninstallKB2$\\i.txt", L"_restore{ABC}\\RP1\\j.txt",
        L"_restore{ABC}\\RP2\\k.txt", L"_restore{ABC}\\old\\l.txt", L"_restore{ABC}\\rp.txt", L"plain\\TEMP\\m.txt",
    };
    for (const wchar_t* file : files)
        MakeFile(dir + file);
    SetTimes(dir + L"$NtUninstallKB1$", today - 61);
    SetTimes(dir + L"$NtUninstallKB2$", today - 59);
    SetTimes(dir + L"_restore{ABC}\\RP1", today - 61);
    SetTimes(dir + L"_restore{ABC}\\RP2", today - 59);
    SetTimes(dir + L"_restore{ABC}\\old", today - 90);

    TWalkRun run(2, SettingsWith({58, 59, 60, 61, 62, 63, 85, 86}));
    run.walk->SearchThruDir(dir, fwFullWalk);
    std::vector<std::pair<int, std::wstring>> found;
    for (const TFinding& finding : run.host.Findings)
        found.emplace_back(finding.Category, finding.Path.substr(dir.size()));
    std::sort(found.begin(), found.end());
    const std::vector<std::pair<int, std::wstring>> expected = {
        {58, L"plain\\TEMP\\m.txt"},
        {58, L"temp\\a.txt"},
        {59, L"Tmp\\b.txt"},
        {60, L"Temporary Internet Files\\c.txt"},
        {61, L"Install Office\\"},
        {61, L"Install Office\\e.txt"},
        {61, L"MSSTARTUP\\"},
        {61, L"MSSTARTUP\\d.txt"},
        {62, L"Outlook 98 Setup\\"},
        {62, L"Outlook 98 Setup\\f.txt"},
        {63, L"IE 6 Setup\\"},
        {63, L"IE 6 Setup\\g.txt"},
        {85, L"$NtUninstallKB1$\\"},
        {85, L"$NtUninstallKB1$\\h.txt"},
        {86, L"_restore{ABC}\\RP1\\"},
        {86, L"_restore{ABC}\\RP1\\j.txt"},
    };
    EXPECT_EQ(found, expected);
    for (const wchar_t* marked : {L"temp", L"plain\\TEMP", L"MSSTARTUP", L"$NtUninstallKB1$", L"_restore{ABC}\\RP1"})
        EXPECT_TRUE(run.state.HandledFolders.Contains(dir + marked)) << testing_support::Utf8(marked);
    EXPECT_FALSE(run.state.HandledFolders.Contains(dir + L"_restore{ABC}"));
}

TEST(FolderWalk, FirefoxProfileKinds)
{
    const std::wstring dir = TestDir();
    const std::wstring profiles = dir + L"u\\Application Data\\Mozilla\\Firefox\\Profiles\\";
    const std::wstring profile = profiles + L"abc.default\\";
    MakeFile(profile + L"Cache\\x.bin");
    MakeFile(profile + L"extensions\\Cache\\y.bin");
    MakeFile(profile + L"history.dat");
    MakeFile(profile + L"cookies.txt");
    // Too deep outside an "Application Data" folder: not searched.
    MakeFile(dir + L"a\\b\\Mozilla\\Firefox\\Profiles\\p\\history.dat");
    const std::wstring profileShort = ShortNameOf(profiles + L"abc.default");

    const struct {
        TFolderWalkKind kind;
        std::vector<TFinding> expected;
    } cases[] = {
        {fwFirefoxCache, {{-1, profile + L"Cache\\x.bin", profile + L"Cache\\x.bin"}}},
        {fwFirefoxHistory, {{-1, profile + L"history.dat", profiles + profileShort + L"\\history.dat"}}},
        {fwFirefoxCookies, {{-1, profile + L"cookies.txt", profiles + profileShort + L"\\cookies.txt"}}},
    };
    for (const auto& c : cases) {
        TWalkRun run(1, SettingsWith({}), {{dir, true}});
        run.walk->SearchThruHD(c.kind);
        EXPECT_EQ(run.host.Findings, c.expected) << "kind " << c.kind;
    }
}

TEST(FolderWalk, DrivesRecycleBinsAndOnlineServices)
{
    const std::wstring dir = TestDir();
    MakeFile(dir + L"d1\\Recycler\\S-1-5\\a.dat");
    MakeFile(dir + L"d1\\Recycled\\b.dat");
    MakeFile(dir + L"d2\\Recycled\\c.dat");
    MakeFile(dir + L"d3\\Program Files\\Online Services\\x.txt");
    const std::vector<app::TDriveSelection> drives = {{dir + L"d1\\", true}, {dir + L"d2\\", false}, {dir + L"d3", true}};

    TWalkRun bins(1, SettingsWith({}), drives);
    bins.walk->SearchThruHD(fwRecycleBin);
    EXPECT_EQ(RelativePaths(bins.host.Findings, dir),
              (Paths{L"d1\\Recycler\\S-1-5\\a.dat", L"d1\\Recycler\\S-1-5\\", L"d1\\Recycled\\b.dat"}));
    EXPECT_TRUE(bins.state.HandledFolders.Contains(dir + L"d1\\Recycler"));
    EXPECT_TRUE(bins.state.HandledFolders.Contains(dir + L"d1\\Recycled"));

    TWalkRun online(1, SettingsWith({}), drives);
    online.walk->SearchThruHD(fwOnlineServices);
    const std::wstring services = dir + L"d3\\Program Files\\Online Services\\";
    EXPECT_EQ(online.host.Findings,
              (std::vector<TFinding>{{-1, services + L"x.txt", services + L"x.txt"}, {-1, services, L""}}));
}

TEST(FolderWalk, MarkedFoldersAreNotWalkedAgain)
{
    const std::wstring dir = TestDir();
    MakeFile(dir + L"root.tmp");
    MakeFile(dir + L"x\\Temp\\a.txt");
    MakeFile(dir + L"y\\Temp\\b.txt");
    MakeFile(dir + L"skipped\\c.tmp");
    MakeFile(dir + L"walked\\d.tmp");

    TWalkRun run(0, app::TSettings{}, {{dir, true}});
    run.state.HandledFolders.Add(dir + L"x\\Temp");    // the user's own TEMP, handled by the driver
    run.state.HandledFolders.Add(dir + L"skipped\\");  // on the skip-folder list
    run.state.HandledFolders.Add(dir);                 // a whole "drive": spares its own files only
    run.walk->SearchThruHD(fwFullWalk);
    std::vector<std::pair<int, std::wstring>> found;
    for (const TFinding& finding : run.host.Findings)
        found.emplace_back(finding.Category, finding.Path.substr(dir.size()));
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::pair<int, std::wstring>>{{0, L"walked\\d.tmp"}, {58, L"y\\Temp\\b.txt"}}));
    EXPECT_TRUE(run.state.HandledFolders.Contains(dir + L"y\\Temp"));
}

TEST(FolderWalk, LinksAreNeitherFollowedNorReported)
{
    // Programs inside Wine cannot make links; the prefix carries one for every test.
    const std::wstring fixtures = L"C:\\tidymate-fixtures\\";
    const std::optional<platform::FileEntry> link = platform::FindEntry(fixtures + L"folder-link");
    if (!link || !link->IsReparsePoint())
        GTEST_SKIP() << "the prefix has no C:\\tidymate-fixtures\\folder-link";
    app::TSettings settings = SettingsWith({9, 24});
    settings.UserRules[0] = {2, L"*"};

    const TFolderWalkKind kinds[] = {fwFullWalk, fwUserFolder, fwBrowserFolder, fwWholeFolder, fwRecycleBin,
                                     fwTempFolder, fwOnlineServices, fwUninstallBackup};
    for (TFolderWalkKind kind : kinds) {
        TWalkRun run(2, settings, {{fixtures, true}});
        if (kind == fwFullWalk)
            run.walk->SearchThruHD(fwFullWalk);
        else
            run.walk->SearchThruDir(fixtures, kind);
        const Paths paths = RelativePaths(run.host.Findings, fixtures);
        EXPECT_NE(std::find(paths.begin(), paths.end(), L"link-target\\keep.txt"), paths.end()) << "kind " << kind;
        for (const std::wstring& path : paths)
            EXPECT_EQ(path.find(L"folder-link"), std::wstring::npos) << "kind " << kind;
        for (const std::wstring& shown : run.host.Shown)
            EXPECT_EQ(shown.find(L"folder-link"), std::wstring::npos) << "kind " << kind;
    }
}

TEST(FolderWalk, StopEndsTheWalkAtTheNextEntry)
{
    const std::wstring dir = TestDir();
    for (int i = 0; i < 5; ++i)
        MakeFile(dir + L"a" + std::to_wstring(i) + L".tmp");
    MakeFile(dir + L"sub\\b.tmp");

    TWalkRun drive(0, app::TSettings{}, {{dir, true}});
    drive.host.StopAfterFindings = 1;
    drive.walk->SearchThruHD(fwFullWalk);
    EXPECT_EQ(drive.host.Findings.size(), 1u);
    EXPECT_TRUE(drive.walk->Stopped());

    TWalkRun whole(0);
    whole.host.StopAfterFindings = 2;
    whole.walk->SearchThruDir(dir, fwWholeFolder);
    EXPECT_EQ(whole.host.Findings.size(), 2u);

    TWalkRun stopped(0, app::TSettings{}, {{dir, true}});
    stopped.host.Stop = true;
    stopped.walk->SearchThruHD(fwFullWalk);
    stopped.walk->SearchForFile(dir + L"*", ftMask);
    EXPECT_TRUE(stopped.host.Findings.empty());
    EXPECT_TRUE(stopped.host.Shown.empty());
}

TEST(FolderWalk, VistaSkipsItsSystemFolders)
{
    const std::wstring dir = TestDir();
    MakeFile(dir + L"Windows\\System32\\a.tmp");
    MakeFile(dir + L"Windows\\System32\\drivers\\b.tmp");
    MakeFile(dir + L"oldsystem32files\\c.tmp");
    MakeFile(dir + L"Windows\\d.tmp");
    const struct {
        uint8_t osKind;
        Paths expected;
    } cases[] = {
        {8, {L"Windows\\d.tmp"}},
        {6, {L"Windows\\System32\\a.tmp", L"Windows\\System32\\drivers\\b.tmp", L"Windows\\d.tmp", L"oldsystem32files\\c.tmp"}},
    };
    for (const auto& c : cases) {
        TWalkRun run(0, app::TSettings{}, {{dir, true}});
        run.state.OSKind = c.osKind;
        run.walk->SearchThruHD(fwFullWalk);
        EXPECT_EQ(Sorted(RelativePaths(run.host.Findings, dir)), Sorted(c.expected)) << "OSKind " << int(c.osKind);
    }
}

// The walk hands each listed entry to the results, which weigh it by that entry: a lookup
// that fails everything drops nothing, and the sizes and the time buffer still hold.
TEST(FolderWalk, FindingsCarryTheirListedEntryToTheResults)
{
    class TFailingLookup : public IFindingLookup {
    public:
        bool Exists(const std::wstring&) override { return true; }
        TLookupResult Lookup(const std::wstring&) override
        {
            ++Calls;
            return {TLookupResult::Failed};
        }
        int Calls = 0;
    } failing;

    const std::wstring dir = TestDir();
    const TDateSerial today = TodayOf(FixedNow());
    MakeFile(dir + L"old.dat", 1500);
    MakeFile(dir + L"new.dat", 700);
    MakeFile(dir + L"sub\\inner.dat", 300);
    SetTimes(dir + L"old.dat", today - 30);
    SetTimes(dir + L"new.dat", today - 2);
    SetTimes(dir + L"sub\\inner.dat", today - 20);
    SetTimes(dir + L"sub", today - 20);

    const FILETIME nowUtc = UtcOfLocalSerial(FixedNow());
    FILETIME nowLocal;
    ASSERT_TRUE(FileTimeToLocalFileTime(&nowUtc, &nowLocal));
    const uint64_t nowTicks = (static_cast<uint64_t>(nowLocal.dwHighDateTime) << 32) | nowLocal.dwLowDateTime;

    app::TSettings settings = SettingsWith({});
    TScanState state;
    state.Settings = &settings;
    state.ScanMode = smCleanPC;
    TResultsList results;
    TResultsInputs inputs;
    inputs.LocalNow = [nowTicks] { return nowTicks; };
    inputs.Lookup = &failing;
    results.SetInputs(std::move(inputs));
    TQuietScanHost host(state, results);
    results.ChangeLabel(0);
    TFolderWalk walk(state, host, {}, FixedClock());
    walk.SearchThruDir(dir, fwWholeFolder);

    ASSERT_EQ(results.Groups().size(), 1u);
    EXPECT_EQ(Sorted(results.Groups()[0].Findings), Sorted({dir + L"old.dat", dir + L"sub\\", dir + L"sub\\inner.dat"}));
    EXPECT_EQ(results.TotalSize(), 1800u);
    EXPECT_EQ(failing.Calls, 0);
}
