#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "removal/removal_driver.h"
#include "support/test_support.h"
#include "undo_test_fixtures.h"

using removal::TRemovalDriver;
using removal::TRemovalPlace;
using removal::UndoPlace;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::TestRegKey;
using testing_support::WriteFileBytes;
using undo_fixtures::EntryPaths;
using undo_fixtures::MakePlace;

namespace {

const std::wstring kReportTail = L"\n\r(这可能是因为文件正在使用\n\r或文件夹非空).";

// The main window as the driver sees it, recording what it was asked to show.
class FakeRemovalUi : public removal::IRemovalUi {
public:
    bool busy = false;
    bool stop = false;
    bool autoScan = false;
    bool closeWhenFinished = false;
    int scanMode = 0;

    std::vector<bool> busyChanges;
    std::vector<std::wstring> messages;
    std::vector<int> pages;
    std::vector<std::wstring> titles;
    std::vector<std::wstring> captions;
    std::vector<std::wstring> progressTexts;
    int progressMaximum = -1;
    bool progressShown = false;
    bool resultsPageReset = false;
    std::wstring scanCounter = L"unchanged";
    // Runs after every progress step, as a click arriving through the message loop would.
    std::function<void()> onStep;

    bool Busy() const override { return busy; }
    void ChangeBusy(bool value) override
    {
        busy = value;
        busyChanges.push_back(value);
    }
    bool StopRequested() const override { return stop; }
    void SetStopRequested(bool value) override { stop = value; }
    bool AutoScanActive() const override { return autoScan; }
    void SetAutoScanActive(bool value) override { autoScan = value; }
    bool CloseWhenFinished() const override { return closeWhenFinished; }
    int ScanMode() const override { return scanMode; }
    void ShowRemovalProgress(int maximum) override
    {
        progressMaximum = maximum;
        progressShown = true;
    }
    void SetRemovalProgress(int, const std::wstring& text) override
    {
        progressTexts.push_back(text);
        if (onStep)
            onStep();
    }
    void SetRemovalProgressText(const std::wstring&) override {}
    void HideRemovalProgress() override { progressShown = false; }
    void SetTitle(const std::wstring& title) override { titles.push_back(title); }
    void SetCleanButtonCaption(const std::wstring& caption) override { captions.push_back(caption); }
    void SetWaitCursor(bool) override {}
    void SetScanProblemCounter(const std::wstring& text) override { scanCounter = text; }
    void SetResultsPage(bool scanning) override { resultsPageReset = scanning; }
    void TurnPage(int index) override { pages.push_back(index); }
    void suiShowMessage(const std::wstring& text) override { messages.push_back(text); }
    void Pump() override {}
};

std::wstring UserKey(const std::wstring& path) { return L"HKEY_CURRENT_USER\\" + path; }

void SetString(const std::wstring& keyPath, const std::wstring& name, const std::wstring& data)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

bool KeyExists(const std::wstring& keyPath)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ValueExists(const std::wstring& keyPath, const std::wstring& name)
{
    return RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Holds a file open the way another program would: no sharing at all.
class OpenElsewhere {
public:
    explicit OpenElsewhere(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE) << "fixture could not open the file";
    }
    ~OpenElsewhere()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }

private:
    HANDLE handle_;
};

// A scanned tree in TestDir() and a driver over it, with the undo sets in `dir`prog\.
class RemovalDriverTest : public ::testing::Test {
public:
    void SetUp() override
    {
        dir = TestDir();
        undo = MakePlace(dir);
        place = {undo.programFolder, undo.todayStem, 0};
    }

    // Lists findings under a category's group the way a scan does.
    void AddGroup(int category, const std::vector<std::wstring>& findings)
    {
        if (!scanStarted) {
            scan::TResultsInputs inputs;
            inputs.UseTimeBuffer = false;
            for (int rule = 0; rule < scan::kUserRuleCount; ++rule)
                inputs.UserRuleTexts[static_cast<size_t>(rule)] = settings.UserRules[static_cast<size_t>(rule)].Text;
            results.SetInputs(inputs);
            scanStarted = true;
        }
        results.ChangeLabel(category);
        for (const std::wstring& finding : findings)
            ASSERT_TRUE(results.ListBoxAddString(finding, L""));
    }

    void SetMethod(int category, int method) { settings.Categories[static_cast<size_t>(category)].Method = method; }

    void SetUserRule(int rule, const std::wstring& text, bool enabled, int method)
    {
        settings.UserRules[static_cast<size_t>(rule)].Text = text;
        settings.Categories[static_cast<size_t>(scan::kFirstUserRule + rule)] = {enabled, method};
    }

    std::wstring File(const std::wstring& name, const std::string& bytes = "junk")
    {
        const std::wstring path = dir + name;
        WriteFileBytes(path, bytes);
        return path;
    }

    std::wstring Folder(const std::wstring& name)
    {
        const std::wstring path = dir + name + L"\\";
        platform::CreateFolders(path);
        return path;
    }

    TRemovalDriver& Driver()
    {
        if (!driver)
            driver = std::make_unique<TRemovalDriver>(ui, results, settings, place);
        return *driver;
    }

    void Clean() { Driver().Button2Click(); }

    std::wstring BackupText() const
    {
        return platform::FromAnsi(ReadFileBytes(undo.programFolder + undo.todayStem + L"Temp.reg"));
    }

    std::wstring dir;
    UndoPlace undo;
    TRemovalPlace place;
    app::TSettings settings;
    FakeRemovalUi ui;
    scan::TResultsList results;
    bool scanStarted = false;
    std::unique_ptr<TRemovalDriver> driver;
};

TEST_F(RemovalDriverTest, EachGroupIsRemovedWithTheMethodOfItsCategory)
{
    SetMethod(0, scan::rmDelete);
    SetMethod(1, scan::rmZipWeekly);
    SetMethod(4, scan::rmZipKeep);
    SetMethod(9, scan::rmZipWeekly);
    const std::wstring deleted = File(L"a.tmp");
    const std::wstring weekly = File(L"b.bak");
    const std::wstring kept = File(L"c.old");
    const std::wstring recorded = Folder(L"empty");
    const std::wstring vanished = dir + L"gone.tmp";
    AddGroup(0, {deleted, vanished});
    AddGroup(1, {weekly});
    AddGroup(4, {kept});
    AddGroup(9, {recorded});

    Clean();

    EXPECT_FALSE(FileExists(deleted));
    EXPECT_FALSE(FileExists(weekly));
    EXPECT_FALSE(FileExists(kept));
    EXPECT_FALSE(FolderExists(recorded));
    EXPECT_EQ(EntryPaths(undo.ArchivePath(true)), std::vector<std::wstring>{weekly});
    EXPECT_EQ(EntryPaths(undo.ArchivePath(false)), std::vector<std::wstring>{kept});
    EXPECT_EQ(platform::FromAnsi(ReadFileBytes(undo.FolderListPath(true))), L"md \"" + recorded + L"\"\r\n");
    EXPECT_FALSE(FileExists(undo.FolderListPath(false)));

    // The vanished file counts as cleaned under the delete method.
    EXPECT_EQ(Driver().Counters().ProblemCount, 5);
    EXPECT_EQ(Driver().Counters().NotRemovedCount, 0);
    EXPECT_EQ(ui.messages, std::vector<std::wstring>{L"5 个问题已清理"});
    EXPECT_EQ(ui.progressMaximum, 5);
    EXPECT_EQ(ui.progressTexts,
              (std::vector<std::wstring>{L"1 在 5", L"2 在 5", L"3 在 5", L"4 在 5", L"5 在 5"}));
    ASSERT_GE(ui.titles.size(), 2u);
    EXPECT_EQ(ui.titles.front(), L"Kelvo Tidymate (1 在 5)");
    EXPECT_EQ(ui.titles.back(), L"Kelvo Tidymate");
    EXPECT_EQ(ui.captions, (std::vector<std::wstring>{L"停止", L"清洁"}));
    EXPECT_EQ(ui.scanCounter, L"0");
    EXPECT_TRUE(ui.resultsPageReset);
    EXPECT_FALSE(ui.progressShown);
    EXPECT_EQ(ui.pages, std::vector<int>{removal::kFinishedPage});
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_TRUE(results.Groups().empty());
    EXPECT_FALSE(Driver().Running());
}

TEST_F(RemovalDriverTest, HeaderSharedByCategoriesTakesTheLaterOne)
{
    struct Case {
        const char* what;
        std::function<void(RemovalDriverTest&)> setup;
        int scannedCategory;
        bool expectWeekly, expectKept;
    } cases[] = {
        {"a rule with a built-in pattern wins over it",
         [](RemovalDriverTest& t) {
             t.SetMethod(0, scan::rmDelete);
             t.SetUserRule(0, L".TMP", true, scan::rmZipKeep);
         },
         0, false, true},
        {"a rule switched off takes no part",
         [](RemovalDriverTest& t) {
             t.SetMethod(0, scan::rmZipWeekly);
             t.SetUserRule(0, L".TMP", false, scan::rmZipKeep);
         },
         0, true, false},
        {"of two rules with one text the later wins",
         [](RemovalDriverTest& t) {
             t.SetUserRule(0, L".LOG", true, scan::rmZipWeekly);
             t.SetUserRule(1, L".LOG", true, scan::rmZipKeep);
         },
         scan::kFirstUserRule, false, true},
        {"a header matching nothing keeps the category before it",
         [](RemovalDriverTest& t) {
             t.SetMethod(1, scan::rmZipWeekly);
             t.SetUserRule(3, L".XYZ", true, scan::rmZipKeep);
             t.AddGroup(1, {t.File(L"first.bak")});
         },
         scan::kFirstUserRule + 3, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        results.ClearTree();
        settings = {};
        scanStarted = false;
        driver.reset();
        c.setup(*this);
        const std::wstring file = File(L"x.file");
        AddGroup(c.scannedCategory, {file});
        if (c.scannedCategory == scan::kFirstUserRule + 3)
            SetUserRule(3, L".XYZ", false, scan::rmZipKeep);  // switched off after the scan

        Clean();

        EXPECT_FALSE(FileExists(file));
        const auto weekly = EntryPaths(undo.ArchivePath(true));
        const auto kept = EntryPaths(undo.ArchivePath(false));
        EXPECT_EQ(std::find(weekly.begin(), weekly.end(), file) != weekly.end(), c.expectWeekly);
        EXPECT_EQ(std::find(kept.begin(), kept.end(), file) != kept.end(), c.expectKept);
    }
}

TEST_F(RemovalDriverTest, ProtectedFilesStayUncounted)
{
    SetMethod(1, scan::rmDelete);
    const std::vector<std::wstring> protectedFiles = {
        File(L"DATA.BAK"), File(L"sub\\opa12.bak"), File(L"Eudora.Idx"), File(L"x.bkp"), File(L"HPQGENDS.TMP"),
    };
    const std::wstring junk = File(L"junk.bak");
    std::vector<std::wstring> findings = protectedFiles;
    findings.insert(findings.begin() + 2, junk);
    AddGroup(1, findings);

    Clean();

    for (const std::wstring& path : protectedFiles)
        EXPECT_TRUE(FileExists(path)) << platform::ToUtf8(path);
    EXPECT_FALSE(FileExists(junk));
    EXPECT_EQ(Driver().Counters().ProblemCount, 1);
    EXPECT_EQ(Driver().Counters().NotRemovedCount, 0);
    EXPECT_EQ(ui.progressMaximum, 6);
    EXPECT_EQ(ui.progressTexts, std::vector<std::wstring>{L"1 在 6"});
    EXPECT_EQ(ui.messages, std::vector<std::wstring>{L"1 个问题已清理"});
    EXPECT_TRUE(results.Groups().empty());
}

TEST_F(RemovalDriverTest, StopEndsTheWalkAfterTheFindingInHand)
{
    SetMethod(0, scan::rmDelete);
    const std::vector<std::wstring> files = {File(L"1.tmp"), File(L"2.tmp"), File(L"3.tmp")};
    AddGroup(0, files);
    int steps = 0;
    ui.onStep = [&] {
        ++steps;
        if (steps == 1) {
            Driver().Button2Click();  // the button reads "停止" now
            EXPECT_TRUE(ui.busy) << "nothing else may start while the finding is finished";
        }
    };

    Clean();

    EXPECT_FALSE(FileExists(files[0]));
    EXPECT_TRUE(FileExists(files[1]));
    EXPECT_TRUE(FileExists(files[2]));
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(results.Groups().empty());
    EXPECT_EQ(ui.messages, std::vector<std::wstring>{L"1 个问题已清理"});
    EXPECT_EQ(ui.pages, std::vector<int>{removal::kFinishedPage});
    EXPECT_EQ(ui.scanCounter, L"unchanged");
    EXPECT_FALSE(ui.busy);
    EXPECT_TRUE(ui.stop);

    // The stop stays in force until the next scan: another clean does nothing.
    AddGroup(0, {files[1]});
    Clean();
    EXPECT_TRUE(FileExists(files[1]));
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(RemovalDriverTest, NothingHappensWhileBusyOrAfterAStoppedScan)
{
    struct Case {
        const char* what;
        bool busy, stop, autoScanAfter;
    } cases[] = {
        {"stop left from a stopped unattended scan", false, true, false},
        {"another operation running", true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetMethod(0, scan::rmDelete);
        const std::wstring file = File(L"a.tmp");
        results.ClearTree();
        AddGroup(0, {file});
        ui = FakeRemovalUi{};
        ui.busy = c.busy;
        ui.stop = c.stop;
        ui.autoScan = true;

        Clean();

        EXPECT_TRUE(FileExists(file));
        EXPECT_EQ(results.FindingCount(), 1u);
        EXPECT_EQ(ui.autoScan, c.autoScanAfter);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(ui.pages.empty());
        EXPECT_TRUE(ui.busyChanges.empty());
    }
}

TEST_F(RemovalDriverTest, OldUpdateFolderTakesItsUninstallEntryAlong)
{
    const std::wstring uninstall = TestRegKey() + L"\\Uninstall";
    place.UninstallKeyBase = UserKey(uninstall) + L"\\";
    SetMethod(removal::kOldWindowsUpdatesCategory, scan::rmDelete);
    struct Case {
        const char* what;
        const wchar_t* folder;
        bool withContents;
        const wchar_t* entry;  // the entry that goes; nullptr: none
    } cases[] = {
        {"empty update folder", L"$NtUninstallKB123456$", false, L"KB123456"},
        {"folder that stays keeps its entry", L"$NtUninstallKB222$", true, nullptr},
        {"no update name: the list itself stays", L"$NtUninstall$", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetString(uninstall + L"\\KB123456", L"DisplayName", L"Update KB123456");
        SetString(uninstall + L"\\KB222", L"DisplayName", L"Update KB222");
        const std::wstring folder = Folder(std::wstring(L"WINDOWS\\") + c.folder);
        if (c.withContents)
            File(std::wstring(L"WINDOWS\\") + c.folder + L"\\spuninst.exe");
        results.ClearTree();
        AddGroup(removal::kOldWindowsUpdatesCategory, {folder});
        driver.reset();

        Clean();

        EXPECT_EQ(FolderExists(folder), c.withContents);
        EXPECT_TRUE(KeyExists(uninstall));
        for (const wchar_t* update : {L"KB123456", L"KB222"}) {
            const bool goes = c.entry && std::wstring(c.entry) == update;
            EXPECT_EQ(KeyExists(uninstall + L"\\" + update), !goes) << platform::ToUtf8(update);
        }
        if (c.entry) {
            const std::wstring block =
                L"[" + place.UninstallKeyBase + c.entry + L"]\r\n\"DisplayName\"=\"Update KB123456\"\r\n\r\n";
            EXPECT_NE(BackupText().find(block), std::wstring::npos);
        }
        // The entry counts nowhere.
        EXPECT_EQ(Driver().Counters().ProblemCount, c.withContents ? 0 : 1);
        EXPECT_EQ(Driver().Counters().NotRemovedCount, c.withContents ? 1 : 0);
    }
}

TEST_F(RemovalDriverTest, ReportTexts)
{
    struct Case {
        int cleaned, notRemoved;
        std::wstring text;
    } cases[] = {
        {0, 0, L"0 个问题已清理"},
        {12, 0, L"12 个问题已清理"},
        {3, 2, L"3 个问题已清理\n\r2 个问题没有被移除" + kReportTail},
    };
    for (const Case& c : cases)
        EXPECT_EQ(removal::RemovalReport(c.cleaned, c.notRemoved), c.text);
}

TEST_F(RemovalDriverTest, UnattendedRunClosingWhenFinishedShowsNoReport)
{
    struct Case {
        bool autoScan, closeWhenFinished, reported;
    } cases[] = {
        {true, true, false},
        {true, false, true},
        {false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "auto " << c.autoScan << ", close " << c.closeWhenFinished);
        results.ClearTree();
        AddGroup(0, {File(L"a.tmp")});
        ui = FakeRemovalUi{};
        ui.autoScan = c.autoScan;
        ui.closeWhenFinished = c.closeWhenFinished;

        Clean();

        EXPECT_EQ(ui.messages.size(), c.reported ? 1u : 0u);
        EXPECT_EQ(ui.pages, std::vector<int>{removal::kFinishedPage});
        EXPECT_FALSE(ui.busy);
    }
}

TEST_F(RemovalDriverTest, WhatCannotGoStaysAndCountsAsNotRemoved)
{
    struct Case {
        const char* what;
        int method;
        bool folder;
    } cases[] = {
        {"locked file, deleting", scan::rmDelete, false},
        {"locked file, weekly archive", scan::rmZipWeekly, false},
        {"locked file, kept archive", scan::rmZipKeep, false},
        {"folder with contents, deleting", scan::rmDelete, true},
        {"folder with contents, weekly list", scan::rmZipWeekly, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetMethod(9, c.method);
        const std::string bytes = "still needed";
        const std::wstring target = c.folder ? Folder(L"full") : File(L"open.tmp", bytes);
        const std::wstring inside = c.folder ? File(L"full\\keep.txt", bytes) : target;
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
        results.ClearTree();
        AddGroup(9, {target});
        ui = FakeRemovalUi{};
        {
            std::unique_ptr<OpenElsewhere> lock = c.folder ? nullptr : std::make_unique<OpenElsewhere>(target);
            Clean();
        }

        EXPECT_EQ(ReadFileBytes(inside), bytes);
        EXPECT_EQ(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN, DWORD{FILE_ATTRIBUTE_HIDDEN});
        EXPECT_EQ(Driver().Counters().ProblemCount, 0);
        EXPECT_EQ(Driver().Counters().NotRemovedCount, 1);
        EXPECT_EQ(ui.messages, std::vector<std::wstring>{L"0 个问题已清理\n\r1 个问题没有被移除" + kReportTail});
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(RemovalDriverTest, UnwritableProgramFolderRemovesNothingThatNeedsAnUndoCopy)
{
    // The program folder's name is taken by a file: no archive, list or backup can be written.
    testing_support::RemoveTree(undo.programFolder);
    WriteFileBytes(undo.programFolder.substr(0, undo.programFolder.size() - 1), "not a folder");
    SetMethod(1, scan::rmZipWeekly);
    SetMethod(4, scan::rmZipKeep);
    SetMethod(9, scan::rmZipWeekly);
    const std::wstring key = TestRegKey() + L"\\RunMRU";
    SetString(key, L"a", L"notepad");
    const std::wstring weekly = File(L"b.bak");
    const std::wstring kept = File(L"c.old");
    const std::wstring folder = Folder(L"empty");
    AddGroup(1, {weekly});
    AddGroup(4, {kept});
    AddGroup(9, {folder});
    AddGroup(72, {UserKey(key) + L"\\\\:\"a\"=notepad"});

    Clean();

    EXPECT_TRUE(FileExists(weekly));
    EXPECT_TRUE(FileExists(kept));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(ValueExists(key, L"a"));
    EXPECT_EQ(Driver().Counters().ProblemCount, 0);
    EXPECT_EQ(Driver().Counters().NotRemovedCount, 4);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], L"0 个问题已清理\n\r4 个问题没有被移除" + kReportTail);
    EXPECT_NE(ui.messages[1].find(L"注册表项目没有被删除."), std::wstring::npos);
    EXPECT_TRUE(results.Groups().empty());
}

TEST_F(RemovalDriverTest, RegistryFindingsAreBackedUpBeforeTheyGo)
{
    const std::wstring base = TestRegKey();
    SetString(base + L"\\RunMRU", L"a", L"notepad \"x\"");
    SetString(base + L"\\RunMRU", L"b", L"calc");
    SetString(base + L"\\Sub\\Deep", L"c", L"regedit");
    SetString(base + L"\\\u0E01", L"d", L"kept");  // a name the backup's code page cannot hold
    AddGroup(72, {
                     UserKey(base) + L"\\RunMRU\\\\:\"a\"=notepad \\\"x\\\"",
                     UserKey(base) + L"\\Sub",
                     UserKey(base) + L"\\Missing",
                     UserKey(base) + L"\\\u0E01",
                 });

    Clean();

    EXPECT_FALSE(ValueExists(base + L"\\RunMRU", L"a"));
    EXPECT_TRUE(ValueExists(base + L"\\RunMRU", L"b"));
    EXPECT_FALSE(KeyExists(base + L"\\Sub"));
    EXPECT_TRUE(ValueExists(base + L"\\\u0E01", L"d"));
    const std::wstring backup = BackupText();
    const std::wstring root = UserKey(base);
    EXPECT_NE(backup.find(L"[" + root + L"\\RunMRU]\r\n\"a\"=\"notepad \\\"x\\\"\"\r\n\r\n"), std::wstring::npos)
        << platform::ToUtf8(backup);
    EXPECT_NE(backup.find(L"[" + root + L"\\Sub\\Deep]\r\n\"c\"=\"regedit\"\r\n"), std::wstring::npos)
        << platform::ToUtf8(backup);
    EXPECT_EQ(backup.find(L"calc"), std::wstring::npos);
    // The missing key counts nowhere; the one the backup cannot hold stays and is counted.
    EXPECT_EQ(Driver().Counters().ProblemCount, 2);
    EXPECT_EQ(Driver().Counters().NotRemovedCount, 1);
}

}  // namespace
