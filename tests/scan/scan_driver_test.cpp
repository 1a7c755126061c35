// Button1Click: the order of the window steps and searches per mode, the folder markers, the
// temporary folders of the environment, the Recent folder and the browser locations, the drive
// walk rule, and the closing steps after a stop and after an error.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "platform/path_util.h"
#include "scan/scan_driver.h"
#include "support/test_support.h"
#include "walk_test_support.h"

using namespace scan;
using namespace walk_testing;
using testing_support::TestDir;
using testing_support::TestRegKey;

namespace {

using Paths = std::vector<std::wstring>;

// The main window as the driver sees it: every window step and ChangeLabel in one log.
class TFakeWindow : public TRecordingHost, public IScanDriverUi {
public:
    void ChangeLabel(int categoryIndex) override
    {
        if (categoryIndex == ThrowAtLabel)
            throw std::runtime_error("search failed");
        TRecordingHost::ChangeLabel(categoryIndex);
        Log.push_back(L"Label " + std::to_wstring(categoryIndex));
    }

    bool Busy() const override { return IsBusy; }
    void ChangeBusy(bool busy) override
    {
        IsBusy = busy;
        Log.push_back(L"ChangeBusy " + std::to_wstring(busy));
    }
    void SetScanCommandsEnabled(bool enabled) override { Log.push_back(L"ScanCommands " + std::to_wstring(enabled)); }
    void SetStopRequested(bool stop) override
    {
        Stop = stop;
        Log.push_back(L"StopRequested " + std::to_wstring(stop));
    }
    void ResetCounters() override
    {
        Findings.clear();
        Log.push_back(L"ResetCounters");
    }
    int ProblemCount() const override { return static_cast<int>(Findings.size()); }
    void SetResultsPage(bool scanning) override { Log.push_back(L"ResultsPage " + std::to_wstring(scanning)); }
    void BlankList() override
    {
        MarkersAtBlankList = MarkerSource ? MarkerSource->Text() : L"";
        Log.push_back(L"BlankList");
    }
    void TurnPage(int index) override { Log.push_back(L"TurnPage " + std::to_wstring(index)); }
    void SetWaitCursor(bool wait) override { Log.push_back(L"WaitCursor " + std::to_wstring(wait)); }
    void ShowStopButton(const std::wstring& caption) override { Log.push_back(L"StopButton " + caption); }
    void SetProgressText(const std::wstring& text) override { Log.push_back(L"Progress " + text); }
    void RestoreWindow() override { Log.push_back(L"RestoreWindow"); }
    void RemoveFindings() override { Log.push_back(L"RemoveFindings"); }

    std::vector<std::wstring> Log;
    bool IsBusy = false;
    int ThrowAtLabel = -1;
    const THandledFolders* MarkerSource = nullptr;
    std::wstring MarkersAtBlankList;
};

// Sets an environment variable of this test process and puts the old value back afterwards.
class TEnvironmentGuard {
public:
    explicit TEnvironmentGuard(std::wstring name) : name_(std::move(name))
    {
        wchar_t buffer[32767];
        const DWORD n = GetEnvironmentVariableW(name_.c_str(), buffer, 32767);
        if (n > 0 && n < 32767)
            saved_ = std::wstring(buffer, n);
    }
    ~TEnvironmentGuard() { SetEnvironmentVariableW(name_.c_str(), saved_ ? saved_->c_str() : nullptr); }
    void Set(const std::optional<std::wstring>& value) { SetEnvironmentVariableW(name_.c_str(), value ? value->c_str() : nullptr); }

private:
    std::wstring name_;
    std::optional<std::wstring> saved_;
};

void SetUserString(const std::wstring& keyPath, const std::wstring& name, const std::wstring& value)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

const std::wstring kShellFolders = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::wstring kNetscape = L"\\Software\\Netscape\\Netscape Navigator\\";

const wchar_t kPreparing[] = L"Progress 正在准备扫描 - 请稍等 - 这可能需要几分种时间";

class ScanDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = TestDir();
        regBase_ = TestRegKey();
        drive_ = dir_ + L"drive\\";
        MakeFolder(drive_);
        userTemp_ = dir_ + L"user-temp";
        MakeFolder(userTemp_);
        temp_.Set(userTemp_);
        tmp_.Set(userTemp_);
        settings_ = SettingsWith({});
        settings_.Drives = {{drive_, true}};
        places_.WindowsDir = dir_ + L"Windows\\";
        places_.UserKeyMirror = regBase_;
        places_.HistoryRoots.MirrorKey = L"HKEY_CURRENT_USER\\" + regBase_;
        places_.JunoAdsPattern = dir_ + L"Juno\\ads\\0*.";
        places_.Clock = FixedClock();
        window_.MarkerSource = &state_.HandledFolders;
    }

    void Run(int mode, bool autoScan = false)
    {
        state_.ScanMode = static_cast<uint8_t>(mode);
        state_.Settings = &settings_;
        TScanDriver driver(state_, window_, window_, places_);
        driver.Button1Click(autoScan);
    }

    void Tick(std::initializer_list<int> categories)
    {
        for (int index : categories)
            settings_.Categories[index].Enabled = true;
    }

    Paths FoundPaths() const { return RelativePaths(window_.Findings, dir_); }
    bool Walked() const { return std::count(window_.Shown.begin(), window_.Shown.end(), drive_) > 0; }
    // A user key path under this test's mirror.
    std::wstring Mirror(const std::wstring& path) const { return regBase_ + path; }

    std::wstring dir_, regBase_, drive_, userTemp_;
    TEnvironmentGuard temp_{L"TEMP"}, tmp_{L"TMP"};
    app::TSettings settings_;
    TScanState state_;
    TScanPlaces places_;
    TFakeWindow window_;
};

// A file written ten days before the fixed today, which every age rule lets through.
void MakeOldFile(const std::wstring& path)
{
    MakeFile(path);
    SetTimes(path, FixedNow() - 10);
}

}  // namespace

TEST_F(ScanDriver, WindowStepsAndSearchOrderPerMode)
{
    settings_.Drives.clear();  // the drive walk's own labels are left out here
    const struct {
        int mode;
        std::vector<int> ticked;
        bool runInMainScan;
        const wchar_t* stopCaption;
        std::vector<int> labels;
    } cases[] = {
        {0, {}, false, L"停止 \"清洁计算机\" 扫描", {19, 7, 20, 66, 67, 71, 21}},
        {0, {72}, true, L"停止 \"清洁计算机\" 扫描", {19, 7, 20, 66, 67, 71, 21, 72}},
        {1, {}, false, L"停止 \"清除历史记录\" 扫描", {19, 7, 20, 66, 21, 22, 23, 72, 73, 74, 75, 76, 77, 79, 80, 81, 82, 83, 84}},
        {2, {88, 24, 67, 19, 90, 23, 20, 89, 7, 21, 66, 71, 22, 26, 72}, true, L"停止 \"自定义清洁\" 扫描",
         {19, 7, 20, 66, 67, 71, 21, 22, 23, 88, 89, 90, 24, 26, 72}},
        {2, {72}, false, L"停止 \"自定义清洁\" 扫描", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        settings_ = SettingsWith({});
        for (int index : c.ticked)
            settings_.Categories[index].Enabled = true;
        settings_.RunInMainScan = c.runInMainScan;
        window_.Log.clear();
        Run(c.mode);

        std::vector<std::wstring> expected = {L"ChangeBusy 1", L"ScanCommands 0", L"ResetCounters", L"ResultsPage 1",
                                              L"WaitCursor 1", std::wstring(L"StopButton ") + c.stopCaption,
                                              L"StopRequested 0", L"BlankList", L"TurnPage 1", kPreparing};
        for (int label : c.labels)
            expected.push_back(L"Label " + std::to_wstring(label));
        for (const wchar_t* step : {L"StopButton ", L"StopRequested 0", L"Progress 扫描完成", L"TurnPage 4",
                                    L"ScanCommands 1", L"RestoreWindow", L"WaitCursor 0", L"ChangeBusy 0"})
            expected.push_back(step);
        EXPECT_EQ(window_.Log, expected);
    }
}

TEST_F(ScanDriver, DoesNothingWhileBusy)
{
    window_.IsBusy = true;
    Run(0);
    EXPECT_TRUE(window_.Log.empty());
}

TEST_F(ScanDriver, WalksTheDrivesOutsideCustomModeOrWhenAWalkCategoryTakesPart)
{
    const struct {
        int mode;
        std::vector<int> ticked;
        int ruleKind;  // of user rule 0 (category 24)
        bool walks;
    } cases[] = {
        {0, {}, 0, true},
        {1, {}, 0, true},
        {2, {19, 21, 7, 20, 66, 67, 71, 22, 23, 88, 89, 90}, 0, false},
        {2, {24}, 3, false},
        {2, {24}, 4, false},
        {2, {24}, 0, true},
        {2, {24}, 2, true},
        {2, {0}, 0, true},
        {2, {58}, 0, true},
        {2, {87}, 0, true},
        {2, {72}, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", first tick " << (c.ticked.empty() ? -1 : c.ticked[0]));
        settings_ = SettingsWith({});
        settings_.Drives = {{drive_, true}};
        for (int index : c.ticked)
            settings_.Categories[index].Enabled = true;
        settings_.UserRules[0] = {c.ruleKind, c.ruleKind >= 3 ? dir_ + L"rule\\" : L".x"};
        window_.Shown.clear();
        Run(c.mode);
        EXPECT_EQ(Walked(), c.walks);
    }
}

TEST_F(ScanDriver, MarksSkipFoldersAndTheMeRestoreFolderAndForgetsOldMarkers)
{
    Tick({0});
    MakeOldFile(drive_ + L"skip-a\\a.tmp");
    MakeOldFile(drive_ + L"skip-b\\b.tmp");
    MakeOldFile(drive_ + L"earlier\\c.tmp");
    settings_.SkipFolders = {drive_ + L"skip-a\\", drive_ + L"SKIP-B"};
    for (const uint8_t osKind : {uint8_t{3}, uint8_t{6}}) {
        SCOPED_TRACE(int{osKind});
        state_.OSKind = osKind;
        state_.HandledFolders.Add(drive_ + L"earlier");  // left over from the scan before
        Run(2);
        EXPECT_EQ(FoundPaths(), Paths{L"drive\\earlier\\c.tmp"});
        EXPECT_EQ(window_.MarkersAtBlankList.find(L"<<C:\\_RESTORE>>") != std::wstring::npos, osKind == 3);
    }
}

TEST_F(ScanDriver, AllTempFoldersLeaveTheUsersOwnTemp)
{
    // The user's TEMP lies on the walked drive, given in several forms; category 7 is off.
    const std::wstring userLong = drive_ + L"Local Settings\\Temp";
    MakeOldFile(userLong + L"\\mine.dat");
    MakeOldFile(drive_ + L"app\\Temp\\other.dat");
    MakeOldFile(drive_ + L"TEMP\\root.dat");
    const std::wstring shortParent = ShortNameOf(drive_ + L"Local Settings");
    ASSERT_FALSE(shortParent.empty());
    const std::wstring userShort = drive_ + shortParent + L"\\Temp";

    const struct {
        const char* name;
        std::wstring temp;
        bool own;  // names the folder on the drive
    } cases[] = {
        {"long form", userLong, true},
        {"short form", userShort, true},
        {"short form with backslash", userShort + L"\\", true},
        {"other case", drive_ + L"LOCAL SETTINGS\\temp", true},
        {"elsewhere", userTemp_, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool own = c.own;
        temp_.Set(c.temp);
        tmp_.Set(std::nullopt);
        settings_ = SettingsWith({58});
        settings_.Drives = {{drive_, true}};
        Run(2);
        Paths expected = {L"drive\\app\\Temp\\other.dat", L"drive\\TEMP\\root.dat"};
        if (!own)
            expected.insert(expected.begin(), L"drive\\Local Settings\\Temp\\mine.dat");
        Paths found = FoundPaths();
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
        if (c.temp.starts_with(userShort)) {
            EXPECT_TRUE(state_.HandledFolders.Contains(userShort));
            EXPECT_TRUE(state_.HandledFolders.Contains(userLong));
        }
    }
}

TEST_F(ScanDriver, TempAndTmpNamingOneFolderAreSearchedOnce)
{
    Tick({7});
    const std::wstring other = dir_ + L"other-tmp";
    MakeFile(userTemp_ + L"\\a.dat");
    MakeFile(other + L"\\b.dat");
    MakeFolder(dir_ + L"Long Temporary Name");
    const std::wstring shortForm = dir_ + ShortNameOf(dir_ + L"Long Temporary Name");
    MakeFile(dir_ + L"Long Temporary Name\\c.dat");
    const struct {
        std::optional<std::wstring> temp, tmp;
        Paths expected;
    } cases[] = {
        {userTemp_, userTemp_, {L"user-temp\\a.dat"}},
        {userTemp_, dir_ + L"USER-TEMP\\", {L"user-temp\\a.dat"}},
        {userTemp_, other, {L"user-temp\\a.dat", L"other-tmp\\b.dat"}},
        {std::nullopt, other, {L"other-tmp\\b.dat"}},
        {userTemp_, std::nullopt, {L"user-temp\\a.dat"}},
        {shortForm, dir_ + L"Long Temporary Name", {ShortNameOf(dir_ + L"Long Temporary Name") + L"\\c.dat"}},
        {std::wstring(L"relative-temp"), std::nullopt, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing_support::Utf8(c.temp.value_or(L"(none)") + L" / " + c.tmp.value_or(L"(none)")));
        temp_.Set(c.temp);
        tmp_.Set(c.tmp);
        settings_.Drives.clear();
        Run(2);
        EXPECT_EQ(FoundPaths(), c.expected);
    }
}

TEST_F(ScanDriver, RecentFolderFromShellFoldersOrTheWindowsFolder)
{
    Tick({20});
    const std::wstring own = dir_ + L"MyRecent";
    const std::wstring fallback = places_.WindowsDir + L"Recent";
    for (const std::wstring& folder : {own, fallback}) {
        MakeOldFile(folder + L"\\old.lnk");
        MakeFile(folder + L"\\new.lnk");
        SetTimes(folder + L"\\new.lnk", FixedNow() - 2);
    }
    const struct {
        const char* name;
        std::optional<std::wstring> value;  // nullopt: the key is absent
        std::optional<std::wstring> searched;
    } cases[] = {
        {"no key", std::nullopt, std::nullopt},
        {"own folder", own, own},
        {"own folder with backslash", own + L"\\", own},
        {"empty value", L"", fallback},
        {"missing folder", dir_ + L"gone", fallback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RegDeleteTreeW(HKEY_CURRENT_USER, Mirror(kShellFolders).c_str());
        if (c.value)
            SetUserString(Mirror(kShellFolders), L"Recent", *c.value);
        settings_.Drives.clear();
        window_.Shown.clear();
        Run(2);
        if (!c.searched) {
            EXPECT_TRUE(window_.Findings.empty());
            EXPECT_TRUE(window_.Shown.empty());
            continue;
        }
        EXPECT_EQ(window_.Findings, (std::vector<TFinding>{{20, *c.searched + L"\\old.lnk", *c.searched + L"\\old.lnk"}}));
        EXPECT_TRUE(state_.HandledFolders.Contains(*c.searched));
    }
}

TEST_F(ScanDriver, BrowserCachesHistoriesAndCookies)
{
    Tick({21, 22, 23});
    // On a real drive the profiles lie deeper; the test drive is itself four levels down.
    const std::wstring profiles = drive_ + L"Application Data\\Mozilla\\Firefox\\Profiles\\";
    MakeOldFile(profiles + L"ab.default\\Cache\\_CACHE_001_");
    MakeOldFile(profiles + L"ab.default\\history.dat");
    MakeOldFile(profiles + L"ab.default\\cookies.txt");
    MakeOldFile(dir_ + L"ns-cache\\page.htm");
    MakeOldFile(dir_ + L"ns-history\\hist.db");
    MakeOldFile(dir_ + L"ns-url-history\\url.db");
    MakeOldFile(dir_ + L"ns-install\\cookie.txt");
    MakeOldFile(dir_ + L"ns-install\\other.txt");
    MakeOldFile(dir_ + L"ie-cache\\c.htm");
    MakeOldFile(places_.WindowsDir + L"History\\h.dat");
    MakeOldFile(dir_ + L"ie-cookies\\me@site.txt");

    SetUserString(Mirror(kNetscape + L"Cache"), L"缓存目录", dir_ + L"ns-cache");
    SetUserString(Mirror(kNetscape + L"History"), L"历史文件", dir_ + L"ns-history");  // used: URL History is absent
    SetUserString(Mirror(kNetscape + L"Main"), L"安装目录", dir_ + L"ns-install");     // used: Cookies is absent
    SetUserString(Mirror(kShellFolders), L"Cache", dir_ + L"ie-cache");
    SetUserString(Mirror(kShellFolders), L"Cookies", dir_ + L"ie-cookies\\");
    Run(2);
    const Paths expected = {
        L"drive\\Application Data\\Mozilla\\Firefox\\Profiles\\ab.default\\Cache\\_CACHE_001_",
        L"ns-cache\\page.htm",
        L"ie-cache\\c.htm",
        L"drive\\Application Data\\Mozilla\\Firefox\\Profiles\\ab.default\\history.dat",
        L"ns-history\\hist.db",
        L"Windows\\History\\h.dat",
        L"drive\\Application Data\\Mozilla\\Firefox\\Profiles\\ab.default\\cookies.txt",
        L"ns-install\\cookie.txt",
        L"ie-cookies\\me@site.txt",
    };
    EXPECT_EQ(FoundPaths(), expected);
    for (const wchar_t* marked : {L"ns-cache", L"ie-cache", L"ns-history", L"Windows\\History", L"ie-cookies"})
        EXPECT_TRUE(state_.HandledFolders.Contains(dir_ + marked)) << testing_support::Utf8(marked);

    // With the URL History key present, the History key is no longer read.
    SetUserString(Mirror(kNetscape + L"URL History"), L"缓存目录", dir_ + L"ns-url-history");
    settings_ = SettingsWith({22});
    Run(2);
    EXPECT_EQ(FoundPaths(), (Paths{L"ns-url-history\\url.db", L"Windows\\History\\h.dat"}));
}

TEST_F(ScanDriver, FixedFoldersOfWindowsAndJuno)
{
    Tick({66, 67, 88, 89, 90});
    const std::wstring windows = places_.WindowsDir;
    MakeOldFile(windows + L"Spool\\Printers\\job.spl");
    MakeOldFile(windows + L"Spool\\Printers\\job.shd");
    MakeFile(windows + L"Spool\\Printers\\now.spl");
    SetTimes(windows + L"Spool\\Printers\\now.spl", FixedNow());
    MakeOldFile(dir_ + L"Juno\\ads\\0a1b");
    MakeOldFile(dir_ + L"Juno\\ads\\1a1b");
    MakeOldFile(windows + L"Downloaded Installations\\setup.msi");
    MakeOldFile(windows + L"Internet Logs\\a.log");
    MakeOldFile(windows + L"Installer\\b.msp");
    settings_.Drives.clear();
    Run(2);
    const std::vector<TFinding> expected = {
        {66, windows + L"Spool\\Printers\\job.spl", windows + L"Spool\\Printers\\job.spl"},
        {67, dir_ + L"Juno\\ads\\0a1b", dir_ + L"Juno\\ads\\0a1b"},
        {88, windows + L"Downloaded Installations\\setup.msi", windows + L"Downloaded Installations\\setup.msi"},
        {89, windows + L"Internet Logs\\a.log", windows + L"Internet Logs\\a.log"},
        {90, windows + L"Installer\\b.msp", windows + L"Installer\\b.msp"},
    };
    EXPECT_EQ(window_.Findings, expected);
}

TEST_F(ScanDriver, StopEndsTheSearchesAndTheScanClosesNormally)
{
    Tick({0, 20, 21});
    for (int i = 0; i < 5; ++i)
        MakeOldFile(drive_ + L"f" + std::to_wstring(i) + L"\\x.tmp");
    for (const bool autoScan : {false, true}) {
        SCOPED_TRACE(autoScan);
        window_.Log.clear();
        window_.Stop = false;
        window_.StopAfterFindings = 1;
        Run(2, autoScan);
        EXPECT_EQ(window_.Findings.size(), 1u) << "the walk ends at the stop";
        const auto& log = window_.Log;
        EXPECT_EQ(std::count(log.begin(), log.end(), L"ResultsPage 0"), 1) << "the results page shows the finding";
        EXPECT_EQ(log.back(), autoScan ? L"RemoveFindings" : L"ChangeBusy 0");
        EXPECT_FALSE(window_.IsBusy);
        EXPECT_EQ(window_.Stop, autoScan) << "an automatic run keeps the stop for its removal";
    }
}

TEST_F(ScanDriver, ErrorEndsTheSearchingThenClosesAndIsPassedOn)
{
    Tick({7, 20, 21});
    MakeFile(userTemp_ + L"\\found.dat");
    settings_.Drives.clear();
    window_.ThrowAtLabel = 20;
    for (const bool autoScan : {false, true}) {
        SCOPED_TRACE(autoScan);
        window_.Log.clear();
        EXPECT_THROW(Run(2, autoScan), std::runtime_error);
        std::vector<std::wstring> tail = {L"Label 7",         L"StopButton ",   L"StopRequested 0",
                                          L"Progress 扫描完成", L"ResultsPage 0", L"ScanCommands 1",
                                          L"RestoreWindow",   L"WaitCursor 0",  L"ChangeBusy 0"};
        if (autoScan) {
            tail.erase(tail.begin() + 2);  // the stop flag stays as it is
            tail.push_back(L"RemoveFindings");
        }
        ASSERT_GE(window_.Log.size(), tail.size());
        EXPECT_EQ(std::vector<std::wstring>(window_.Log.end() - tail.size(), window_.Log.end()), tail);
        EXPECT_EQ(FoundPaths(), Paths{L"user-temp\\found.dat"}) << "findings before the error stay";
    }
}

TEST_F(ScanDriver, NothingFoundEndsOnTheFinishPageAndAnAutomaticRunStillRemoves)
{
    settings_.Drives.clear();
    for (const bool autoScan : {false, true}) {
        SCOPED_TRACE(autoScan);
        window_.Log.clear();
        Run(2, autoScan);
        const auto& log = window_.Log;
        EXPECT_EQ(std::count(log.begin(), log.end(), L"TurnPage 4"), 1);
        EXPECT_EQ(std::count(log.begin(), log.end(), L"ResultsPage 0"), 0);
        EXPECT_EQ(std::count(log.begin(), log.end(), L"RemoveFindings"), autoScan ? 1 : 0);
    }
}
