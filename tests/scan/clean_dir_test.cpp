// CleanDir: one listing per folder, tested in memory, must give exactly the findings and
// order of one platform listing per pattern.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "scan/catalogue.h"
#include "scan/clean_dir_plan.h"
#include "scan/folder_walk.h"
#include "support/test_support.h"
#include "walk_test_support.h"

using namespace scan;
using namespace walk_testing;
using testing_support::TestDir;
using testing_support::Wide;

namespace {

// CleanDir as one listing per pattern: the walk's own SearchForFile lists each pattern.
std::vector<TFinding> OneListingPerPattern(const app::TSettings& settings, int mode, const std::wstring& folder)
{
    TScanState state;
    state.Settings = &settings;
    state.ScanMode = static_cast<uint8_t>(mode);
    TRecordingHost host;
    TFolderWalk walk(state, host, {});
    auto takes = [&](int index) { return CategoryTakesPart(settings, mode, index); };
    auto masks = [&](int index) {
        if (!takes(index))
            return;
        host.ChangeLabel(index);
        for (const std::wstring& mask : SourceMasks(Category(index)))
            walk.SearchForFile(folder + mask, ftMask);
    };
    auto test = [&](int index, const wchar_t* pattern, TFileTestKind kind) {
        if (!takes(index))
            return;
        host.ChangeLabel(index);
        walk.SearchForFile(folder + pattern, kind);
    };
    for (int index = 0; index <= 5; ++index)
        masks(index);
    test(8, L"*", ftEmptyFile);
    test(9, L"*", ftEmptyFolder);
    masks(10);
    masks(11);
    test(12, L"*", ftOldSince1999);
    test(13, L"*", ftOldSince2000);
    test(14, L"*", ftOldSince2001);
    test(15, L"*", ftOldSince2002);
    test(16, L"*.lnk", ftBadShortcut);
    test(17, L"*.lnk", ftWebShortcut);
    test(18, L"*.lnk", ftCdShortcut);
    for (int rule = 0; rule < kUserRuleCount; ++rule) {
        if (!takes(kFirstUserRule + rule))
            continue;
        host.ChangeLabel(kFirstUserRule + rule);
        walk.ApplyNameRule(settings.UserRules[rule].Kind, settings.UserRules[rule].Text, folder);
    }
    for (int index = 34; index <= 57; ++index)
        masks(index);
    for (int index : {64, 65, 68, 69, 70, 87})
        masks(index);
    return host.Findings;
}

std::vector<TFinding> CleanDirFindings(const app::TSettings& settings, int mode, const std::wstring& folder)
{
    TScanState state;
    state.Settings = &settings;
    state.ScanMode = static_cast<uint8_t>(mode);
    TRecordingHost host;
    TFolderWalk(state, host, {}).CleanDir(folder);
    return host.Findings;
}

app::TSettings EverythingTicked()
{
    app::TSettings settings;
    for (app::TCategorySetting& category : settings.Categories)
        category.Enabled = true;
    settings.UserRules[0] = {0, L".log"};
    settings.UserRules[1] = {1, L"draft"};
    settings.UserRules[2] = {2, L"*.b?k"};
    settings.UserRules[3] = {2, L"[ab]*.txt"};  // brackets: listed by the platform itself
    settings.UserRules[4] = {2, L""};
    settings.UserRules[5] = {3, L"C:\\Windows\\"};  // folder rules do not act in CleanDir
    settings.UserRules[6] = {0, L"a:b"};            // invalid: shows a message, finds nothing
    return settings;
}

}  // namespace

TEST(CleanDir, FindsWhatOneListingPerPatternFinds)
{
    const std::wstring dir = TestDir();
    const char* names[] = {
        "a.tmp", "B.TMP", "ff1.tmp", "x.tmpx", "report.bak", "~draft.doc", "draft1.txt", "help.gid", "old.old",
        "disk.000", "复件 预算.xls", "备份1.doc", "x.dmp", "a.~mp", "s.$$$", "t.temp", "v.ab$", "a.~xy", "q._mp",
        "h.syd", "e.err", "k.ab~", "m._detmp", "n.dd_", "o.___", "p.$db", "r.---", "u.~$~", "w.bk1", "y.db$",
        "z.ms", "0abc.nch", "backup1.wbk", "g.a~b", "ShellIconCache", "ffastun0.ffa", "_ofidx1.x", "index.dat",
        "desktop.ini", "已删除项目 1.dbx", "notes.log", "a1.txt", "[ab]x.txt", "文件.tmp", "averylongname.tmpfile",
        "plain.txt"};
    for (const char* name : names)
        MakeFile(dir + Wide(name));
    for (const char* name : {"empty.inf", "empty.cpy", "zero.txt", "stub.desklink", "c.cpy"})
        MakeFile(dir + Wide(name), 0);
    MakeFile(dir + L"hidden.bak");
    SetFileAttributesW((dir + L"hidden.bak").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    MakeFolder(dir + L"folder.tmp");
    MakeFolder(dir + L"empty");
    MakeFile(dir + L"ancient.dat");
    SetTimes(dir + L"ancient.dat", std::nullopt, 36000);  // 1998-07-24
    MakeFile(dir + L"y2001.dat");
    SetTimes(dir + L"y2001.dat", std::nullopt, 37000);  // 2001-04-19
    MakeLink(dir + L"bad.lnk", dir + L"missing.exe");
    MakeLink(dir + L"good.lnk", dir + L"plain.txt");
    MakeLink(dir + L"cd.lnk", L"D:\\setup.exe");
    ASSERT_FALSE(ShortNameOf(dir + L"x.tmpx").empty()) << "the short-name trap needs a short name";

    const struct {
        int mode;
        app::TSettings settings;
    } cases[] = {{0, app::TSettings{}}, {2, EverythingTicked()}};
    for (const auto& c : cases) {
        for (const std::wstring& folder : {dir, dir + L"empty\\"}) {
            const std::vector<TFinding> expected = OneListingPerPattern(c.settings, c.mode, folder);
            const std::vector<TFinding> found = CleanDirFindings(c.settings, c.mode, folder);
            EXPECT_EQ(found, expected) << "mode " << c.mode << " in " << testing_support::Utf8(folder);
        }
    }
    // The fixture is only a fair check if it reaches the tricky cases.
    const std::vector<TFinding> custom = CleanDirFindings(EverythingTicked(), 2, dir);
    auto count = [&](const std::wstring& name) {
        return std::count_if(custom.begin(), custom.end(), [&](const TFinding& f) { return f.Path == dir + name; });
    };
    EXPECT_EQ(count(L"ff1.tmp"), 2);      // "*.tmp" and "ff*.tmp"
    EXPECT_EQ(count(L"ancient.dat"), 4);  // every old-file year
    EXPECT_EQ(count(L"y2001.dat"), 1);
    EXPECT_EQ(count(L"x.tmpx"), 0);  // only its short name ends in .TMP
    EXPECT_EQ(count(L"bad.lnk"), 1);
    EXPECT_EQ(count(L"cd.lnk"), 1);
    EXPECT_EQ(count(L"notes.log"), 1);
    EXPECT_EQ(count(L"hidden.bak"), 2);  // "*.bak" and the rule "*.b?k"
    EXPECT_EQ(count(L"folder.tmp"), 0);
    EXPECT_EQ(CleanDirFindings(EverythingTicked(), 2, dir + L"empty\\"),
              (std::vector<TFinding>{{9, dir + L"empty\\", L""}}));
}

TEST(CleanDir, ChkFilesOnlyInDriveRootsAndFoundFolders)
{
    const struct {
        const wchar_t* folder;
        bool chk;
        bool found;
    } cases[] = {
        {L"C:\\", true, false},
        {L"E:\\FOUND.000\\", true, true},
        {L"c:\\found.017\\DIR0000.CHK\\", true, true},
        {L"C:\\Foundation\\", false, false},
        {L"C:\\FOUND\\", false, false},
        {L"C:\\FOUND.0001\\", false, false},
        {L"C:\\Data\\FOUND.000\\", false, false},
        {L"C:\\Data\\", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsChkFolder(c.folder), c.chk) << testing_support::Utf8(c.folder);
        EXPECT_EQ(IsFoundFolder(c.folder), c.found) << testing_support::Utf8(c.folder);
    }

    // A chkdsk folder on the test prefix's removable drive, examined folder by folder.
    const std::wstring found = L"E:\\FOUND.937\\";
    const std::wstring lookalike = L"E:\\Foundation937\\";
    testing_support::RemoveTree(found);
    testing_support::RemoveTree(lookalike);
    MakeFile(found + L"FILE0000.CHK");
    MakeFile(found + L"notes.txt");
    MakeFile(found + L"DIR0000.CHK\\FILE0001.CHK");
    MakeFile(lookalike + L"file0000.chk");
    const app::TSettings settings = SettingsWith({});
    std::vector<TFinding> findings;
    for (const std::wstring& folder : {found, found + L"DIR0000.CHK\\", lookalike}) {
        const std::vector<TFinding> some = CleanDirFindings(settings, 0, folder);
        findings.insert(findings.end(), some.begin(), some.end());
    }
    testing_support::RemoveTree(found);
    testing_support::RemoveTree(lookalike);
    const std::vector<TFinding> expected = {
        {6, found + L"FILE0000.CHK", found + L"FILE0000.CHK"},
        {6, found, L""},
        {6, found + L"DIR0000.CHK\\FILE0001.CHK", found + L"DIR0000.CHK\\FILE0001.CHK"},
        {6, found + L"DIR0000.CHK\\", L""},
    };
    EXPECT_EQ(findings, expected);
}

TEST(CleanDir, EmptyFolderNeedsAFolderWithNothingInIt)
{
    const std::wstring dir = TestDir();
    MakeFolder(dir + L"empty");
    MakeFile(dir + L"hidden-only\\h.dat");
    SetFileAttributesW((dir + L"hidden-only\\h.dat").c_str(), FILE_ATTRIBUTE_HIDDEN);
    MakeFolder(dir + L"folder-only\\sub");
    const app::TSettings settings = SettingsWith({9});
    TScanState state;
    state.Settings = &settings;
    state.ScanMode = smCustom;
    TRecordingHost host;
    TFolderWalk walk(state, host, {});
    for (const wchar_t* name : {L"empty\\", L"hidden-only\\", L"folder-only\\", L"missing\\"})
        walk.CleanDir(dir + name);
    host.Current = 9;
    walk.SearchForFile(dir + L"missing\\*", ftEmptyFolder);  // cannot be listed: not empty
    walk.SearchForFile(dir + L"empty\\*", ftEmptyFolder);
    EXPECT_EQ(RelativePaths(host.Findings, dir), (std::vector<std::wstring>{L"empty\\", L"empty\\"}));
}

TEST(CleanDir, MakesEachCategoryCurrentInTurnAlsoWithoutFindings)
{
    const std::wstring dir = TestDir();
    MakeFile(dir + L"plain.txt");
    const app::TSettings settings = SettingsWith({});
    TScanState state;
    state.Settings = &settings;
    state.ScanMode = smCleanPC;
    TRecordingHost host;
    TFolderWalk walk(state, host, {});
    walk.CleanDir(dir);
    walk.CleanDir(dir);
    // Clean PC: the walk categories of the mode, in their search order, once per folder.
    const std::vector<int> once = {0,  1,  2,  3,  4,  6,  8,  10, 11, 16, 36, 37, 38, 41, 42, 43,
                                   44, 45, 46, 47, 49, 50, 51, 52, 53, 55, 57, 64, 65, 68, 69};
    std::vector<int> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(host.Labels, twice);
    EXPECT_TRUE(host.Findings.empty());
}
