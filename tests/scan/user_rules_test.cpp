// The user-defined rules and GetLongFileName.
#include <gtest/gtest.h>

#include <algorithm>

#include "scan/folder_walk.h"
#include "scan/user_rules.h"
#include "support/test_support.h"
#include "walk_test_support.h"

using namespace scan;
using namespace walk_testing;
using testing_support::TestDir;
using testing_support::Utf8;

TEST(UserRules, EachRuleTypeFindsItsFiles)
{
    const std::wstring dir = TestDir();
    const std::wstring folder = dir + L"r\\";
    for (const wchar_t* name : {L"notes.log", L"log.txt", L"logbook.doc", L"catalog", L"sub\\deep.log"})
        MakeFile(folder + name);
    MakeFile(dir + L"r-sibling.log");
    using Paths = std::vector<std::wstring>;
    const Paths direct = {L"catalog", L"log.txt", L"logbook.doc", L"notes.log"};
    const struct {
        int kind;
        std::wstring text;
        Paths expected;
    } cases[] = {
        {urEndsWith, L".log", {L"notes.log"}},
        {urEndsWith, L"log", {L"catalog", L"notes.log"}},
        {urBeginsWith, L"log", {L"log.txt", L"logbook.doc"}},
        {urWildcard, L"*.l?g", {L"notes.log"}},
        {urWildcard, L"", {}},
        {urFilesInFolder, folder, direct},
        {urFilesInFolder, dir + L"r", direct},  // without its backslash: still the folder, not its siblings
        {urFolderTree, folder, {L"catalog", L"log.txt", L"logbook.doc", L"notes.log", L"sub\\deep.log"}},
        {urFolderTree, dir + L"missing\\", {}},
        {app::kNoItem, folder, {}},
    };
    for (const auto& c : cases) {
        const app::TSettings settings = SettingsWith({});
        TScanState state;
        state.Settings = &settings;
        state.ScanMode = smCustom;
        TRecordingHost host;
        TFolderWalk walk(state, host, {});
        if (c.kind >= urFilesInFolder || c.kind == app::kNoItem)
            walk.ApplyFolderRule(c.kind, c.text);
        else
            walk.ApplyNameRule(c.kind, c.text, folder);
        Paths found = RelativePaths(host.Findings, folder);
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, c.expected) << "type " << c.kind << " " << Utf8(c.text);
        EXPECT_TRUE(host.Messages.empty());
    }
}

TEST(UserRules, InvalidTextShowsItsMessageOnceAndFindsNothing)
{
    const std::wstring dir = TestDir();
    MakeFile(dir + L"a\\b.txt");
    app::TSettings settings = SettingsWith({24, 25});
    settings.UserRules[0] = {urEndsWith, L"a\\b.txt"};
    settings.UserRules[1] = {urWildcard, L"*.txt"};
    TScanState state;
    state.Settings = &settings;
    state.ScanMode = smCustom;
    TRecordingHost host;
    TFolderWalk walk(state, host, {{dir, true}});
    walk.SearchThruHD(fwFullWalk);
    walk.ApplyNameRule(urBeginsWith, L"x/y", dir);
    walk.ApplyFolderRule(urFilesInFolder, L"relative\\folder\\");

    EXPECT_EQ(host.Findings, (std::vector<TFinding>{{25, dir + L"a\\b.txt", dir + L"a\\b.txt"}}));
    const std::vector<std::wstring> messages = {
        L"清洁设置中的 \"自定义\" 设置 a\\b.txt 被中断.  请更正.  它将被跳过.",
        L"清洁设置中的 \"自定义\" 设置 x/y 被中断.  请更正.  它将被跳过.",
        L"清洁设置中的 \"自定义\" 设置 relative\\folder\\ 被中断.  请更正.  它将被跳过.",
    };
    EXPECT_EQ(host.Messages, messages);
}

TEST(GetLongFileName, RebuildsLongPathsFromShortComponents)
{
    const std::wstring dir = TestDir();
    const std::wstring longPath = dir + L"Long Folder Name\\Another Long One\\third long component\\the final file.txt";
    MakeFile(longPath);
    // The same path through short names, every component that has one.
    std::wstring shortPath = L"C:";
    std::wstring walked = L"C:";
    size_t start = 3;
    while (start <= longPath.size()) {
        size_t end = std::min(longPath.find(L'\\', start), longPath.size());
        const std::wstring component = longPath.substr(start, end - start);
        walked += L"\\" + component;
        const std::wstring shortName = ShortNameOf(walked);
        shortPath += L"\\" + (shortName.empty() ? component : shortName);
        start = end + 1;
    }
    ASSERT_NE(shortPath, longPath);

    const struct {
        std::wstring in;
        std::wstring out;
    } cases[] = {
        {shortPath, longPath},
        {shortPath.substr(0, shortPath.rfind(L'\\')) + L"\\", longPath.substr(0, longPath.rfind(L'\\')) + L"\\"},
        {shortPath + L"x", shortPath + L"x"},
        {dir + L"missing\\file.txt", dir + L"missing\\file.txt"},
        {L"C:", L"C:"},
        {L"C:\\", L"C:\\"},
        {dir + L"*", dir + L"*"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetLongFileName(c.in), c.out) << Utf8(c.in);
}
