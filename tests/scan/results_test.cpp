#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/text.h"
#include "removal/skip_list.h"
#include "scan/results.h"
#include "support/test_support.h"

using scan::TCategoryRow;
using scan::TLookupResult;
using scan::TNodeRef;
using scan::TResultsInputs;
using scan::TResultsList;
using scan::TRowStatus;
using testing_support::TestDir;
using testing_support::WriteFileBytes;

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;
constexpr uint64_t kTicksPerDay = 24 * 60 * 60 * kTicksPerSecond;

// 2024-03-20 12:00 local time, in FILETIME units.
uint64_t FixedNow()
{
    SYSTEMTIME time{};
    time.wYear = 2024;
    time.wMonth = 3;
    time.wDay = 20;
    time.wHour = 12;
    FILETIME ticks;
    SystemTimeToFileTime(&time, &ticks);
    return (static_cast<uint64_t>(ticks.dwHighDateTime) << 32) | ticks.dwLowDateTime;
}

uint64_t TodayStart() { return FixedNow() - FixedNow() % kTicksPerDay; }

// Sets a file's or folder's last-write time to a local time.
void SetLastWriteLocal(const std::wstring& path, uint64_t localTicks)
{
    FILETIME local{static_cast<DWORD>(localTicks), static_cast<DWORD>(localTicks >> 32)};
    FILETIME utc;
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
    CloseHandle(file);
}

// A file system in memory: paths it knows are found with their size and last-write time.
class FakeLookup : public scan::IFindingLookup {
public:
    std::map<std::wstring, TLookupResult> Entries;

    bool Exists(const std::wstring& path) override { return Entries.contains(path); }
    TLookupResult Lookup(const std::wstring& path) override
    {
        auto found = Entries.find(path);
        return found == Entries.end() ? TLookupResult{TLookupResult::Missing} : found->second;
    }
};

std::array<bool, scan::kCategoryCount> AllTakePart()
{
    std::array<bool, scan::kCategoryCount> takesPart;
    takesPart.fill(true);
    return takesPart;
}

// A results list on a fake file system, a fixed clock and the time buffer on.
class ResultsTest : public ::testing::Test {
protected:
    void SetUp() override { Start(); }

    void Start(std::array<std::wstring, scan::kUserRuleCount> userRules = {})
    {
        TResultsInputs inputs;
        inputs.UserRuleTexts = std::move(userRules);
        inputs.LocalNow = FixedNow;
        inputs.Lookup = &files;
        inputs.CheckRedoEntry = [this](const std::wstring& text) { return skipped.contains(text); };
        results.SetInputs(std::move(inputs));
        results.ResetCounters();
        results.BlankList(AllTakePart());
    }

    void Add(int category, const std::wstring& path)
    {
        results.ChangeLabel(category);
        EXPECT_TRUE(results.ListBoxAddString(path, L"")) << scan::Category(category).RowCaption;
    }

    std::vector<std::wstring> GroupTexts() const
    {
        std::vector<std::wstring> texts;
        for (const auto& group : results.Groups())
            texts.push_back(group.Text);
        return texts;
    }

    FakeLookup files;
    std::set<std::wstring> skipped;
    TResultsList results;
};

TEST(ResultsSizeText, ChangesUnitAt1000BytesAndShowsAtMostTwoDecimals)
{
    const struct {
        uint64_t Bytes;
        const wchar_t* Text;
    } cases[] = {
        {0, L"0 字节"},
        {999, L"999 字节"},
        {1000, L"0.98 KB"},
        {1024, L"1 KB"},
        {1025, L"1 KB"},
        {1030, L"1.01 KB"},
        {1536, L"1.5 KB"},
        {1048575, L"1024 KB"},
        {1048576, L"1 MB"},
        {2097152, L"2 MB"},
        {1073741823, L"1024 MB"},
        {1073741824, L"1 GB"},
        {5905580032, L"5.5 GB"},
        {5000ULL << 30, L"5000 GB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(scan::SizeText(c.Bytes), c.Text) << c.Bytes;
}

TEST_F(ResultsTest, ChangeLabelMarksTheCurrentRowAndTheOneBeforeIt)
{
    TResultsList fresh;
    EXPECT_EQ(fresh.Row(5).Status, TRowStatus::None);
    EXPECT_FALSE(fresh.Row(5).HasCount());

    std::array<bool, scan::kCategoryCount> takesPart{};
    takesPart[3] = true;
    fresh.ResetCounters();
    fresh.BlankList(takesPart);
    EXPECT_STREQ(scan::RowStatusText(fresh.Row(3).Status), L"启用");
    EXPECT_STREQ(scan::RowStatusText(fresh.Row(4).Status), L"禁用");
    EXPECT_FALSE(fresh.Row(3).HasCount()) << "a scan creates no count cells up front";
    EXPECT_EQ(fresh.PreviousCategory(), -1);

    fresh.ChangeLabel(3);
    EXPECT_STREQ(scan::RowStatusText(fresh.Row(3).Status), L"正在扫描");
    EXPECT_EQ(fresh.Row(3).Count, 0);

    fresh.ChangeLabel(7);
    EXPECT_STREQ(scan::RowStatusText(fresh.Row(3).Status), L"请稍等");
    EXPECT_STREQ(scan::RowStatusText(fresh.Row(7).Status), L"正在扫描");
    EXPECT_EQ(fresh.Row(7).Count, 0);
    EXPECT_EQ(fresh.CurrentCategory(), 7);
    EXPECT_EQ(fresh.PreviousCategory(), 7);

    // The next scan keeps the cells that exist and sets them to 0.
    ASSERT_TRUE(fresh.ListBoxAddString(L"C:\\gone.tmp", L""));
    fresh.BlankList(takesPart);
    EXPECT_EQ(fresh.Row(7).Count, 0);
    EXPECT_STREQ(scan::RowStatusText(fresh.Row(7).Status), L"禁用");
    EXPECT_FALSE(fresh.Row(8).HasCount());
    EXPECT_TRUE(fresh.Groups().empty());

    EXPECT_THROW(fresh.ChangeLabel(91), std::out_of_range);
}

TEST_F(ResultsTest, FindingsGoUnderOneGroupPerCategoryInOrderOfFirstFinding)
{
    Add(1, L"C:\\a.bak");
    Add(0, L"C:\\a.tmp");
    Add(0, L"C:\\b.tmp");
    Add(1, L"C:\\b.bak");
    Add(0, L"C:\\c.tmp");

    ASSERT_EQ(results.Groups().size(), 2u);
    const auto& tmp = results.Groups()[1];
    EXPECT_EQ(tmp.Text, L".TMP 文件 (3 个问题) - 安全 (可以安全的移除这些项目, 一般不会出问题) - 临时文件");
    EXPECT_EQ(tmp.StateImage, 2);
    EXPECT_EQ(tmp.Findings, (std::vector<std::wstring>{L"C:\\a.tmp", L"C:\\b.tmp", L"C:\\c.tmp"}));
    EXPECT_EQ(results.Groups()[0].Findings, (std::vector<std::wstring>{L"C:\\a.bak", L"C:\\b.bak"}));
    EXPECT_EQ(results.Row(0).Count, 3);
    EXPECT_EQ(results.Row(1).Count, 2);
    EXPECT_EQ(results.ProblemCount(), 5);
    EXPECT_EQ(results.FindingCount(), 5u);
}

TEST_F(ResultsTest, CategoriesWithTheSamePrefixShareOneGroup)
{
    const struct {
        const char* Name;
        std::array<std::wstring, scan::kUserRuleCount> Rules;
        int First, Second;
        std::wstring Caption;  // after one finding of First and two of Second
    } cases[] = {
        {"rule equal to a built-in prefix", {L".TMP"}, 0, 24,
         L".TMP 文件 (2 个问题) - 未知安全等级 - 用户自定义设置 1 (请查看帮助中的清洁设置)."},
        {"two rules with one text", {L"log", L"log"}, 24, 25,
         L"log 文件 (2 个问题) - 未知安全等级 - 用户自定义设置 2 (请查看帮助中的清洁设置)."},
        {"two rules without text", {}, 26, 27,
         L"未定义 (2 个问题) - 未知安全等级 - 用户自定义设置 4 (请查看帮助中的清洁设置)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Start(c.Rules);
        Add(c.First, L"C:\\one.x");
        Add(c.Second, L"C:\\two.x");
        Add(c.Second, L"C:\\three.x");
        ASSERT_EQ(results.Groups().size(), 1u);
        EXPECT_EQ(results.Groups()[0].Text, c.Caption) << "caption of the most recent finding's category";
        EXPECT_EQ(results.Groups()[0].StateImage, scan::Category(c.Second).SafetyLevel);
        EXPECT_EQ(results.Groups()[0].Findings.size(), 3u);
    }
}

TEST_F(ResultsTest, PrefixInOtherLetterCaseGetsAGroupOfItsOwn)
{
    Start({L".tmp"});
    Add(0, L"C:\\one.tmp");
    Add(24, L"C:\\two.tmp");
    const std::vector<std::wstring> texts = GroupTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].starts_with(L".TMP 文件 (1 个问题)")) << platform::ToUtf8(texts[0]);
    EXPECT_TRUE(texts[1].starts_with(L".tmp 文件 (1 个问题)")) << platform::ToUtf8(texts[1]);
}

TEST_F(ResultsTest, OldFileCategoriesKeepFourGroups)
{
    for (int category : {12, 13, 14, 15, 12})
        Add(category, L"C:\\old" + std::to_wstring(category) + L".doc");

    const std::vector<std::wstring> texts = GroupTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_TRUE(texts[0].starts_with(L"旧文件 (1999) (2 个问题)")) << platform::ToUtf8(texts[0]);
    EXPECT_TRUE(texts[1].starts_with(L"旧文件 (2000) (1 个问题)"));
    EXPECT_TRUE(texts[2].starts_with(L"旧文件 (2001) (1 个问题)"));
    EXPECT_TRUE(texts[3].starts_with(L"旧文件 (2002) (1 个问题)"));
}

TEST_F(ResultsTest, DroppedFindingsChangeNoCount)
{
    files.Entries[L"C:\\new.tmp"] = {TLookupResult::Found, 100, TodayStart()};
    files.Entries[L"C:\\locked\\x.tmp"] = {TLookupResult::Failed};
    skipped.insert(L"C:\\skip.tmp");
    Add(0, L"C:\\kept.tmp");
    const int rowBefore = results.Row(0).Count;
    const std::wstring captionBefore = results.Groups()[0].Text;

    for (const wchar_t* path : {L"C:\\new.tmp", L"C:\\locked\\x.tmp", L"C:\\skip.tmp"})
        EXPECT_FALSE(results.ListBoxAddString(path, L"")) << platform::ToUtf8(path);

    EXPECT_EQ(results.Row(0).Count, rowBefore);
    EXPECT_EQ(results.ProblemCount(), 1);
    EXPECT_EQ(results.TotalSize(), 0u);
    EXPECT_EQ(results.Groups()[0].Text, captionBefore);
    EXPECT_EQ(results.FindingCount(), 1u);
}

TEST_F(ResultsTest, VanishedAndRegistryFindingsAreListedWithoutSize)
{
    results.ChangeLabel(72);
    EXPECT_TRUE(results.ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Test\\RunMRU", L""));
    EXPECT_TRUE(results.ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Test\\RunMRU\\\\:\"a\"=notepad\\1", L""));
    results.ChangeLabel(0);
    EXPECT_TRUE(results.ListBoxAddString(L"C:\\vanished.tmp", L""));
    EXPECT_EQ(results.ProblemCount(), 3);
    EXPECT_EQ(results.TotalSize(), 0u);
    EXPECT_EQ(results.Groups()[0].Findings[1], L"HKEY_CURRENT_USER\\Software\\Test\\RunMRU\\\\:\"a\"=notepad\\1");
}

// Real files with last-write times around the 14-day boundary.
TEST(ResultsTimeBuffer, DropsWhatWasWrittenInTheLast14Days)
{
    const std::wstring dir = TestDir();
    const uint64_t boundary = TodayStart() - 14 * kTicksPerDay;
    const struct {
        const wchar_t* Name;
        uint64_t LastWrite;
        bool ListedWithBuffer;
    } cases[] = {
        {L"13days.tmp", FixedNow() - 13 * kTicksPerDay, false},
        {L"15days.tmp", FixedNow() - 15 * kTicksPerDay, true},
        {L"boundary.tmp", boundary, false},
        {L"second-before.tmp", boundary - kTicksPerSecond, true},
        {L"old-folder\\", FixedNow() - 30 * kTicksPerDay, true},
        {L"new-folder\\", FixedNow() - 2 * kTicksPerDay, false},
    };
    for (const auto& c : cases) {
        const std::wstring path = dir + c.Name;
        if (path.ends_with(L'\\'))
            ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        else
            WriteFileBytes(path, std::string(1500, 'x'));
        SetLastWriteLocal(path.ends_with(L'\\') ? path.substr(0, path.size() - 1) : path, c.LastWrite);
    }

    for (bool useTimeBuffer : {true, false}) {
        SCOPED_TRACE(useTimeBuffer ? "time buffer on" : "time buffer off");
        TResultsList results;
        TResultsInputs inputs;
        inputs.UseTimeBuffer = useTimeBuffer;
        inputs.LocalNow = FixedNow;
        results.SetInputs(std::move(inputs));
        results.ResetCounters();
        results.BlankList(AllTakePart());
        results.ChangeLabel(0);
        uint64_t expectedSize = 0;
        int expectedCount = 0;
        for (const auto& c : cases) {
            const bool listed = results.ListBoxAddString(dir + c.Name, L"");
            EXPECT_EQ(listed, c.ListedWithBuffer || !useTimeBuffer) << platform::ToUtf8(c.Name);
            if (listed && !std::wstring(c.Name).ends_with(L'\\'))
                expectedSize += 1500;
            expectedCount += listed;
        }
        EXPECT_TRUE(results.ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Fresh", L"")) << "registry findings";
        EXPECT_EQ(results.TotalSize(), expectedSize);
        EXPECT_EQ(results.Row(0).Count, expectedCount + 1);
        EXPECT_EQ(results.ProblemCount(), expectedCount + 1);
    }
}

// A path the code page cannot show is listed by its short form when that exists.
TEST(ResultsShortForm, ReplacesPathsTheCodePageCannotShow)
{
    const std::wstring dir = TestDir();
    const std::wstring thai = dir + L"\u0E01\u0E02 notes.txt";  // letters outside code page 936
    ASSERT_FALSE(platform::FitsAnsi(thai));
    WriteFileBytes(thai, "x");
    wchar_t buffer[MAX_PATH];
    ASSERT_GT(GetShortPathNameW(thai.c_str(), buffer, MAX_PATH), 0u);
    const std::wstring thaiShort = buffer;
    ASSERT_TRUE(platform::FitsAnsi(thaiShort));
    WriteFileBytes(dir + L"plain.txt", "x");

    const struct {
        const char* Name;
        std::wstring Path, Alternate, Listed;
    } cases[] = {
        {"unshowable, short form exists", thai, thaiShort, thaiShort},
        {"question mark, short form exists", dir + L"??.txt", thaiShort, thaiShort},
        {"question mark, short form missing", dir + L"??.txt", dir + L"NOSUCH~1.TXT", dir + L"??.txt"},
        {"question mark, no short form", dir + L"??.txt", L"", dir + L"??.txt"},
        {"showable path keeps its long form", dir + L"plain.txt", thaiShort, dir + L"plain.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TResultsList results;
        TResultsInputs inputs;
        inputs.UseTimeBuffer = false;
        results.SetInputs(std::move(inputs));
        results.BlankList(AllTakePart());
        results.ChangeLabel(0);
        ASSERT_TRUE(results.ListBoxAddString(c.Path, c.Alternate));
        EXPECT_EQ(results.Groups()[0].Findings[0], c.Listed);
    }
}

TEST_F(ResultsTest, SkipListSeesTheTextThatWouldBeListed)
{
    files.Entries[L"C:\\PROGRA~1\\X.TMP"] = {TLookupResult::Found, 10, 0};
    skipped.insert(L"C:\\PROGRA~1\\X.TMP");
    results.ChangeLabel(0);
    EXPECT_FALSE(results.ListBoxAddString(L"C:\\Program ?\\x.tmp", L"C:\\PROGRA~1\\X.TMP"));
    EXPECT_EQ(results.ProblemCount(), 0);
}

// Records the notifications as text.
class RecordingListener : public scan::IResultsListener {
public:
    std::vector<std::string> Calls;

    void RowChanged(int row) override { Calls.push_back("row " + std::to_string(row)); }
    void GroupAdded(size_t group) override { Calls.push_back("group+ " + std::to_string(group)); }
    void GroupChanged(size_t group) override { Calls.push_back("group " + std::to_string(group)); }
    void GroupRemoved(size_t group) override { Calls.push_back("group- " + std::to_string(group)); }
    void FindingAdded(size_t group) override { Calls.push_back("finding+ " + std::to_string(group)); }
    void FindingRemoved(size_t group, size_t finding) override
    {
        Calls.push_back("finding- " + std::to_string(group) + "." + std::to_string(finding));
    }
    void TotalsChanged() override { Calls.push_back("totals"); }
    void TreeCleared() override { Calls.push_back("cleared"); }
};

TEST_F(ResultsTest, TellsTheListenerWhatChanged)
{
    RecordingListener listener;
    results.SetListener(&listener);
    Add(0, L"C:\\a.tmp");
    EXPECT_EQ(listener.Calls, (std::vector<std::string>{"row 0", "row 0", "group+ 0", "group 0", "finding+ 0", "totals"}));

    Add(1, L"C:\\a.bak");
    Add(0, L"C:\\b.tmp");
    Add(0, L"C:\\c.tmp");
    listener.Calls.clear();
    const std::vector<TNodeRef> selection = {{0, 0}, {0, TNodeRef::kHeader}, {1, 0}, {0, 2}};
    results.RemoveFindings(selection);
    EXPECT_EQ(listener.Calls, (std::vector<std::string>{"finding- 1.0", "finding- 0.2", "finding- 0.0"}))
        << "from the last node to the first, so the positions stay valid while the window deletes";
    EXPECT_EQ(results.Groups()[0].Findings, std::vector<std::wstring>{L"C:\\b.tmp"});
    EXPECT_TRUE(results.Groups()[1].Findings.empty());
    EXPECT_EQ(results.FindingCount(), 1u);
    EXPECT_EQ(results.ProblemCount(), 4) << "only a recount changes it";
    results.RecountProblems();
    EXPECT_EQ(results.ProblemCount(), 1);

    listener.Calls.clear();
    results.RemoveGroup(0);
    EXPECT_EQ(listener.Calls, std::vector<std::string>{"group- 0"});
    EXPECT_EQ(results.FindingCount(), 0u);
    ASSERT_EQ(results.Groups().size(), 1u);
    EXPECT_TRUE(results.Groups()[0].Text.starts_with(L".BAK 文件 ("));
}

// Counts notifications, as a window that repaints on a timer would.
class CountingListener : public scan::IResultsListener {
public:
    size_t Findings = 0;
    void FindingAdded(size_t) override { ++Findings; }
};

TEST(ResultsSpeed, AddsOneHundredThousandFindingsQuickly)
{
    const std::wstring skipPath = TestDir() + L"skip.ini";
    std::vector<std::wstring> skippedTexts;
    for (int i = 0; i < 2000; ++i)
        skippedTexts.push_back(L"C:\\Skipped\\File" + std::to_wstring(i) + L".tmp");
    removal::AddSkipEntries(skipPath, skippedTexts);
    const removal::TSkipList skipList(skipPath);

    FakeLookup files;  // every finding is missing: the model's own cost is measured
    CountingListener listener;
    TResultsList results(&listener);
    TResultsInputs inputs;
    inputs.Lookup = &files;
    inputs.CheckRedoEntry = [&skipList](const std::wstring& text) { return skipList.CheckRedoEntry(text); };
    results.SetInputs(std::move(inputs));

    const auto start = std::chrono::steady_clock::now();
    results.ResetCounters();
    results.BlankList(AllTakePart());
    constexpr int kFindings = 100'000;
    for (int i = 0; i < kFindings; ++i) {
        if (i % 1000 == 0)
            results.ChangeLabel((i / 1000) % scan::kCategoryCount);
        results.ListBoxAddString(L"C:\\Documents and Settings\\User\\Local Settings\\Temp\\File" + std::to_wstring(i) +
                                     L".tmp",
                                 L"");
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(results.ProblemCount(), kFindings);
    EXPECT_EQ(listener.Findings, static_cast<size_t>(kFindings));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 3000);
}

}  // namespace
