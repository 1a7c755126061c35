#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/zip_archive.h"
#include "platform/zip_file_io.h"
#include "platform/zip_journal.h"
#include "removal/undo_expiry.h"
#include "support/test_support.h"
#include "undo_test_fixtures.h"

using removal::DeleteOldUndoFiles;
using removal::ProgressWindow;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::WriteFileBytes;
using namespace undo_fixtures;

namespace {

using Names = std::vector<std::wstring>;

// Records what the expiry shows; Cancelled turns true once a label names `cancelAt`.
class FakeProgress : public ProgressWindow {
public:
    std::wstring cancelAt;
    std::wstring caption;
    std::vector<std::wstring> labels;
    int maximum = -1;
    int position = -1;
    bool secondBarShown = true;
    int opened = 0;
    int closed = 0;
    int pumps = 0;

    void Open(const std::wstring& text) override
    {
        caption = text;
        ++opened;
        cancelled_ = false;
    }
    void SetLabel(const std::wstring& text) override
    {
        labels.push_back(text);
        if (!cancelAt.empty() && text.find(cancelAt) != std::wstring::npos)
            cancelled_ = true;
    }
    void SetBar(int bar, int newPosition, int newMaximum) override
    {
        if (bar == 0) {
            position = newPosition;
            maximum = newMaximum;
        }
    }
    void ShowBar(int bar, bool visible) override
    {
        if (bar == 1)
            secondBarShown = visible;
    }
    bool Cancelled() const override { return cancelled_; }
    void Pump() override { ++pumps; }
    void Close() override { ++closed; }

private:
    bool cancelled_ = false;
};

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

std::wstring ProgramFolder()
{
    const std::wstring folder = TestDir() + L"prog\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// A whole set: archive with one entry, part 1, folder list and (weekly) registry backup.
Names WriteSet(const std::wstring& folder, const std::wstring& base, bool withBackup)
{
    AddToArchive(folder + base + L".zip", folder + L"src.txt", TextBytes(300, 1));
    AddToArchive(folder + base + L"-1.zip", folder + L"src.txt", TextBytes(300, 2));
    WriteFileBytes(folder + base + L".bat", "md \"C:\\OLD\\\"\r\n");
    Names files = {base + L".zip", base + L"-1.zip", base + L".bat"};
    if (withBackup) {
        WriteFileBytes(folder + base + L".reg", "REGEDIT4\r\n");
        files.push_back(base + L".reg");
    }
    return files;
}

Names RunExpiry(const std::wstring& folder, const SYSTEMTIME& now, FakeProgress& progress)
{
    return DeleteOldUndoFiles(folder, now, {}, progress);
}

}  // namespace

TEST(DeleteOldUndoFiles, WeeklySetGoesAfterSevenWholeDaysKeptSetStays)
{
    struct Case {
        const char* when;
        SYSTEMTIME now;
        bool weeklyStays;
    };
    const std::vector<Case> cases = {
        {"six days on", At(2009, 3, 7, 23, 59, 59), true},
        {"midnight of the seventh day", At(2009, 3, 8), true},
        {"a second later", At(2009, 3, 8, 0, 0, 1), false},
        {"weeks later", At(2009, 4, 30, 12), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.when);
        const std::wstring folder = ProgramFolder();
        const Names weekly = WriteSet(folder, L"撤销20090301Temp", true);
        const Names kept = WriteSet(folder, L"撤销20090301", false);
        FakeProgress progress;
        const Names sets = RunExpiry(folder, c.now, progress);
        for (const std::wstring& name : weekly)
            EXPECT_EQ(FileExists(folder + name), c.weeklyStays) << testing_support::Utf8(name);
        for (const std::wstring& name : kept)
            EXPECT_TRUE(FileExists(folder + name)) << testing_support::Utf8(name);
        EXPECT_EQ(sets, (c.weeklyStays ? Names{L"撤销20090301", L"撤销20090301Temp"} : Names{L"撤销20090301"}));
    }
}

TEST(DeleteOldUndoFiles, EmptyAndBrokenArchivesGoWhateverTheirKind)
{
    const std::wstring folder = ProgramFolder();
    AddToArchive(folder + L"撤销20090310.zip", folder + L"src.txt", "kept");
    WriteFileBytes(folder + L"撤销20090311.zip", "");
    WriteFileBytes(folder + L"撤销20090311Temp.zip", "this is no zip archive");
    // A zip archive with no entry: just the end record.
    WriteFileBytes(folder + L"撤销20090312.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    WriteFileBytes(folder + L"撤销20091399.zip", "not ours: no real date");
    WriteFileBytes(folder + L"other.zip", "not ours");

    FakeProgress progress;
    const Names sets = RunExpiry(folder, At(2009, 3, 12, 9), progress);
    EXPECT_EQ(sets, Names{L"撤销20090310"});
    EXPECT_TRUE(FileExists(folder + L"撤销20090310.zip"));
    EXPECT_FALSE(FileExists(folder + L"撤销20090311.zip"));
    EXPECT_FALSE(FileExists(folder + L"撤销20090311Temp.zip"));
    EXPECT_FALSE(FileExists(folder + L"撤销20090312.zip"));
    EXPECT_TRUE(FileExists(folder + L"撤销20091399.zip"));
    EXPECT_TRUE(FileExists(folder + L"other.zip"));
}

TEST(DeleteOldUndoFiles, InterruptedAddIsRolledBackNotTakenForBroken)
{
    const std::wstring folder = ProgramFolder();
    const std::wstring kept = folder + L"撤销20090311.zip";
    const std::wstring fresh = folder + L"撤销20090311Temp.zip";
    AddToArchive(kept, folder + L"first.txt", "first");
    const std::string keptBefore = ReadFileBytes(kept);
    WriteFileBytes(folder + L"big.bin", NoiseBytes(300000, 3));
    for (const std::wstring& archive : {kept, fresh}) {
        platform::zip::SetWriteBudgetForTesting(20000);
        EXPECT_THROW(platform::ZipArchive(archive).Add(folder + L"big.bin", folder + L"big.bin"),
                     platform::zip::WriteInterrupted);
        platform::zip::SetWriteBudgetForTesting(std::nullopt);
        ASSERT_TRUE(FileExists(platform::zip::JournalPath(archive)));
    }

    FakeProgress progress;
    const Names sets = RunExpiry(folder, At(2009, 3, 12, 9), progress);
    EXPECT_EQ(sets, Names{L"撤销20090311"});
    EXPECT_EQ(ReadFileBytes(kept), keptBefore);
    EXPECT_FALSE(FileExists(fresh));
    EXPECT_FALSE(FileExists(platform::zip::JournalPath(kept)));
    EXPECT_FALSE(FileExists(platform::zip::JournalPath(fresh)));
}

TEST(DeleteOldUndoFiles, ArchiveHeldByAnotherProgramIsNotTakenForBroken)
{
    const std::wstring folder = ProgramFolder();
    const std::wstring archive = folder + L"撤销20090311.zip";
    AddToArchive(archive, folder + L"first.txt", "first");
    const HANDLE held = CreateFileW(archive.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    FakeProgress progress;
    const Names sets = RunExpiry(folder, At(2009, 3, 12, 9), progress);
    CloseHandle(held);
    EXPECT_EQ(sets, Names{L"撤销20090311"});
    EXPECT_EQ(platform::ZipArchive(archive).Entries().size(), 1u);
}

TEST(DeleteOldUndoFiles, CancelInTheProgressWindowStopsFurtherDeletions)
{
    const std::wstring folder = ProgramFolder();
    Names all;
    for (const wchar_t* base : {L"撤销20090301Temp", L"撤销20090302Temp", L"撤销20090303Temp"}) {
        const Names files = WriteSet(folder, base, true);
        all.insert(all.end(), files.begin(), files.end());
    }
    FakeProgress progress;
    progress.cancelAt = L"20090302";
    const Names sets = RunExpiry(folder, At(2009, 4, 30, 12), progress);

    for (const std::wstring& name : all)
        EXPECT_EQ(FileExists(folder + name), name.find(L"20090301") == std::wstring::npos) << testing_support::Utf8(name);
    EXPECT_EQ(sets, (Names{L"撤销20090302Temp", L"撤销20090303Temp"}));

    EXPECT_EQ(progress.caption, L"删除旧的撤销文件");
    EXPECT_EQ(progress.opened, 1);
    EXPECT_EQ(progress.closed, 1);
    EXPECT_FALSE(progress.secondBarShown);
    EXPECT_EQ(progress.maximum, 12);
    EXPECT_EQ(progress.position, 12);
    EXPECT_EQ(progress.labels.size(), 12u);
    EXPECT_GE(progress.pumps, 12);
}
