#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/text.h"
#include "removal/skip_list.h"
#include "scan/results.h"
#include "support/test_support.h"

using removal::AddSkipEntries;
using removal::DropSelectedFindings;
using removal::SkipSelectedFindings;
using removal::TSkipList;
using scan::TNodeRef;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::WriteFileBytes;

namespace {

const std::wstring kRunMru = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

std::string Ansi(const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines)
        text += line + L"\r\n";
    return platform::ToAnsi(text);
}

TEST(SkipList, WritesEntriesInCodePage936AndFindsThemAgain)
{
    const std::wstring path = removal::SkipListPath(TestDir());
    const std::vector<std::wstring> items = {
        L"C:\\临时文件\\报告.tmp",
        L"C:\\旧的\\",
        kRunMru,
        kRunMru + L"\\\\:\"a\"=notepad\\1",
        kRunMru + L"\\\\:\"b\"=calc",
    };
    AddSkipEntries(path, items);

    EXPECT_EQ(ReadFileBytes(path), Ansi({
                                       L"[C:\\临时文件\\报告.tmp]",
                                       L"KeyOnly=",
                                       L"",
                                       L"[C:\\旧的\\]",
                                       L"KeyOnly=",
                                       L"",
                                       L"[" + kRunMru + L"]",
                                       L"KeyOnly=",
                                       L"\"a\"=notepad\\1",
                                       L"\"b\"=calc",
                                       L"",
                                   }));
    const TSkipList list(path);
    for (const std::wstring& item : items)
        EXPECT_TRUE(list.CheckRedoEntry(item)) << platform::ToUtf8(item);
}

TEST(SkipList, MatchesEntriesAsTheirShapesSay)
{
    const std::wstring path = TestDir() + L"skip.ini";
    AddSkipEntries(path, std::vector<std::wstring>{
                             L"C:\\TEMP\\A.TMP",
                             L"C:\\OLD\\",
                             L"HKEY_CURRENT_USER\\Software\\Key",
                             kRunMru + L"\\\\:\"a\"=notepad",
                             kRunMru + L"\\\\:\"x=y\"=data",
                             kRunMru + L"\\\\:=default data",
                         });
    const TSkipList list(path);

    const struct {
        std::wstring Item;
        bool Skipped;
    } cases[] = {
        {L"c:\\temp\\a.tmp", true},
        {L"C:\\TEMP\\A.TMP2", false},
        {L"C:\\OLD\\", true},
        {L"C:\\OLD\\X.TXT", false},
        {L"C:\\OLD", false},
        {L"HKEY_CURRENT_USER\\Software\\Key", true},
        {L"hkey_current_user\\software\\KEY", true},
        {L"HKEY_CURRENT_USER\\Software\\Key\\Sub", false},
        {L"HKEY_CURRENT_USER\\Software\\Key\\\\:\"a\"=1", false},
        {kRunMru, false},
        {kRunMru + L"\\\\:\"a\"=other data", true},
        {kRunMru + L"\\\\:\"A\"=notepad", true},
        {kRunMru + L"\\\\:\"b\"=notepad", false},
        {kRunMru + L"\\\\:\"x=y\"=new data", true},
        {kRunMru + L"\\\\:\"x=z\"=data", true},  // both cut at the first "="
        {kRunMru + L"\\\\:@=changed", true},
        {kRunMru + L"\\\\:=changed", true},
        {kRunMru + L"\\Sub\\\\:\"a\"=notepad", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list.CheckRedoEntry(c.Item), c.Skipped) << platform::ToUtf8(c.Item);
}

TEST(SkipList, ReadsHandWrittenEntriesInAnyLetterCase)
{
    const std::wstring path = TestDir() + L"skip.ini";
    WriteFileBytes(path, Ansi({L"; kept by hand", L"[ c:\\文档\\A.TMP ]", L"keyonly", L"",
                               L"[HKEY_CURRENT_USER\\Software\\Key]", L"\"Name\" = whatever"}));
    const TSkipList list(path);
    EXPECT_TRUE(list.CheckRedoEntry(L"C:\\文档\\a.tmp"));
    EXPECT_TRUE(list.CheckRedoEntry(L"HKEY_CURRENT_USER\\Software\\Key\\\\:\"NAME\"=1"));
    EXPECT_FALSE(list.CheckRedoEntry(L"HKEY_CURRENT_USER\\Software\\Key"));
    EXPECT_EQ(list.Size(), 2u);
}

TEST(SkipList, MissingFileSkipsNothingAndIsNotCreated)
{
    const std::wstring path = TestDir() + L"skip.ini";
    const TSkipList list(path);
    EXPECT_FALSE(list.CheckRedoEntry(L"C:\\TEMP\\A.TMP"));
    EXPECT_FALSE(FileExists(path));
}

TEST(SkipList, AddingAnEntryAgainDoesNotRepeatIt)
{
    const std::wstring path = TestDir() + L"skip.ini";
    WriteFileBytes(path, Ansi({L"[C:\\KEEP.TMP]", L"KeyOnly="}));
    AddSkipEntries(path, std::vector<std::wstring>{L"C:\\TEMP\\A.TMP", kRunMru + L"\\\\:\"a\"=old"});
    AddSkipEntries(path, std::vector<std::wstring>{L"c:\\temp\\a.tmp", kRunMru + L"\\\\:\"a\"=new"});

    EXPECT_EQ(ReadFileBytes(path), Ansi({
                                       L"[C:\\KEEP.TMP]",
                                       L"KeyOnly=",
                                       L"",
                                       L"[C:\\TEMP\\A.TMP]",
                                       L"KeyOnly=",
                                       L"",
                                       L"[" + kRunMru + L"]",
                                       L"\"a\"=new",
                                       L"",
                                   }));
}

// Holds the file open without sharing, as another program might.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr))
    {
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    ~LockedFile() { CloseHandle(handle_); }

private:
    HANDLE handle_;
};

TEST(SkipList, LockedFileIsAnErrorNotAnEmptyList)
{
    const std::wstring path = TestDir() + L"skip.ini";
    const std::string before = Ansi({L"[C:\\A.TMP]", L"KeyOnly="});
    WriteFileBytes(path, before);
    {
        LockedFile lock(path);
        EXPECT_THROW(TSkipList{path}, platform::AppError);
        EXPECT_THROW(AddSkipEntries(path, std::vector<std::wstring>{L"C:\\B.TMP"}), platform::AppError);
    }
    EXPECT_EQ(ReadFileBytes(path), before);
}

// Results with two groups: three .TMP files and two .BAK files (all vanished, so no size).
class SkipCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scan::TResultsInputs inputs;
        inputs.UseTimeBuffer = false;
        results.SetInputs(std::move(inputs));
        std::array<bool, scan::kCategoryCount> takesPart;
        takesPart.fill(true);
        results.ResetCounters();
        results.BlankList(takesPart);
        results.ChangeLabel(0);
        for (const wchar_t* path : {L"C:\\Gone\\a.tmp", L"C:\\Gone\\b.tmp", L"C:\\Gone\\c.tmp"})
            results.ListBoxAddString(path, L"");
        results.ChangeLabel(1);
        for (const wchar_t* path : {L"C:\\Gone\\a.bak", L"C:\\Gone\\b.bak"})
            results.ListBoxAddString(path, L"");
        captions = {results.Groups()[0].Text, results.Groups()[1].Text};
        skipPath = removal::SkipListPath(TestDir());
    }

    // The .TMP header, the second .TMP file and both .BAK files.
    const std::vector<TNodeRef> selection = {{0, TNodeRef::kHeader}, {0, 1}, {1, 0}, {1, 1}};

    void ExpectSelectionTakenOut()
    {
        ASSERT_EQ(results.Groups().size(), 2u) << "headers stay, also of an emptied group";
        EXPECT_EQ(results.Groups()[0].Findings, (std::vector<std::wstring>{L"C:\\Gone\\a.tmp", L"C:\\Gone\\c.tmp"}));
        EXPECT_TRUE(results.Groups()[1].Findings.empty());
        EXPECT_EQ(results.Groups()[0].Text, captions[0]) << "captions keep their scan-time counts";
        EXPECT_EQ(results.Groups()[1].Text, captions[1]);
        EXPECT_EQ(results.ProblemCount(), 2);
        EXPECT_EQ(results.Row(0).Count, 3);
    }

    void ExpectUnchanged()
    {
        ASSERT_EQ(results.Groups().size(), 2u);
        EXPECT_EQ(results.Groups()[0].Findings.size(), 3u);
        EXPECT_EQ(results.Groups()[1].Findings.size(), 2u);
        EXPECT_EQ(results.ProblemCount(), 5);
    }

    scan::TResultsList results;
    std::vector<std::wstring> captions;
    std::wstring skipPath;
};

TEST_F(SkipCommandsTest, DoNotCleanTakesFindingsOutAndWritesNothing)
{
    EXPECT_TRUE(DropSelectedFindings(results, selection));
    ExpectSelectionTakenOut();
    EXPECT_FALSE(FileExists(skipPath));
}

TEST_F(SkipCommandsTest, AlwaysSkipWritesFromTheLastSelectedToTheFirst)
{
    EXPECT_TRUE(SkipSelectedFindings(results, selection, skipPath));
    ExpectSelectionTakenOut();
    EXPECT_EQ(ReadFileBytes(skipPath), Ansi({L"[C:\\Gone\\b.bak]", L"KeyOnly=", L"", L"[C:\\Gone\\a.bak]", L"KeyOnly=",
                                             L"", L"[C:\\Gone\\b.tmp]", L"KeyOnly=", L""}));

    // The next scan drops them.
    const TSkipList list(skipPath);
    scan::TResultsList next;
    scan::TResultsInputs inputs;
    inputs.CheckRedoEntry = [&list](const std::wstring& text) { return list.CheckRedoEntry(text); };
    next.SetInputs(std::move(inputs));
    next.ChangeLabel(0);
    EXPECT_FALSE(next.ListBoxAddString(L"C:\\GONE\\B.TMP", L""));
    EXPECT_TRUE(next.ListBoxAddString(L"C:\\Gone\\a.tmp", L""));
}

TEST_F(SkipCommandsTest, HeadersOnlyOrNothingSelectedChangesNoFindings)
{
    const std::vector<TNodeRef> headers = {{0, TNodeRef::kHeader}, {1, TNodeRef::kHeader}};
    EXPECT_TRUE(DropSelectedFindings(results, headers));
    EXPECT_TRUE(SkipSelectedFindings(results, headers, skipPath));
    ExpectUnchanged();

    EXPECT_FALSE(DropSelectedFindings(results, {}));
    EXPECT_FALSE(SkipSelectedFindings(results, {}, skipPath));
    ExpectUnchanged();
    EXPECT_FALSE(FileExists(skipPath));
}

TEST_F(SkipCommandsTest, ReadOnlySkipListKeepsTheResults)
{
    const std::string before = Ansi({L"[C:\\A.TMP]", L"KeyOnly="});
    WriteFileBytes(skipPath, before);
    ASSERT_TRUE(SetFileAttributesW(skipPath.c_str(), FILE_ATTRIBUTE_READONLY));

    try {
        SkipSelectedFindings(results, selection, skipPath);
        ADD_FAILURE() << "writing a read-only skip list succeeded";
    } catch (const platform::AppError& error) {
        EXPECT_NE(error.message().find(skipPath), std::wstring::npos) << error.what();
    }
    ExpectUnchanged();
    EXPECT_EQ(ReadFileBytes(skipPath), before);
    SetFileAttributesW(skipPath.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
