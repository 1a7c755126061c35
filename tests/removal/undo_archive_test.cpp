#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "platform/zip_archive.h"
#include "removal/undo_archive.h"
#include "support/test_support.h"
#include "undo_test_fixtures.h"

using removal::AddToBat;
using removal::AddToZip;
using removal::RemovalCounters;
using removal::UndoPlace;
using removal::UndoWriter;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::Wide;
using testing_support::WriteFileBytes;
using namespace undo_fixtures;

namespace {

bool IsFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Holds a file open the way another program would, with the given access and sharing.
class OpenElsewhere {
public:
    OpenElsewhere(const std::wstring& path, DWORD access, DWORD share)
        : handle_(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
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

}  // namespace

TEST(AddToZip, MovesEachFileIntoTodaysArchiveOfItsKind)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    struct Case {
        const char* name;
        std::string bytes;
        bool weekly;
    };
    const std::vector<Case> cases = {
        {"src\\a.tmp", TextBytes(5000, 1), true},
        {"src\\临时\\旧的.log", NoiseBytes(70000, 2), false},
        {"src\\empty.tmp", "", true},
        // Starts like a wiped file, but holds data further on.
        {"src\\image.iso", std::string(40000, '\0') + TextBytes(3000, 3), false},
        {"src\\b.tmp", TextBytes(10, 4), true},
    };
    std::vector<std::wstring> weeklyPaths, keptPaths;
    for (const Case& c : cases) {
        const std::wstring path = dir + Wide(c.name);
        WriteFileBytes(path, c.bytes);
        RemovalCounters counters;
        AddToZip(path, c.weekly, false, WriterFor(place), counters);
        EXPECT_FALSE(FileExists(path)) << c.name;
        EXPECT_EQ(counters.ProblemCount, 1) << c.name;
        EXPECT_EQ(counters.NotRemovedCount, 0) << c.name;
        const std::wstring archive = place.ArchivePath(c.weekly);
        EXPECT_EQ(EntryBytes(archive, path, dir + L"out\\"), c.bytes) << c.name;
        (c.weekly ? weeklyPaths : keptPaths).push_back(path);
    }
    // One archive per kind and day, each file once, in the order of removal.
    EXPECT_EQ(EntryPaths(place.programFolder + L"撤销20090312Temp.zip"), weeklyPaths);
    EXPECT_EQ(EntryPaths(place.programFolder + L"撤销20090312.zip"), keptPaths);
}

TEST(AddToZip, EntryKeepsTheFilesMarks)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    const std::wstring path = dir + L"hidden.tmp";
    WriteFileBytes(path, "x");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    RemovalCounters counters;
    AddToZip(path, true, false, WriterFor(place), counters);
    EXPECT_FALSE(FileExists(path));
    const auto entries = platform::ZipArchive(place.ArchivePath(true)).Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
}

TEST(AddToZip, WipedFileIsDeletedWithoutACopy)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    for (const std::string& bytes : {std::string(3000, '\0'), std::string(2500, '\xAA'), std::string(1, '\xFF'),
                                     std::string(200000, '\xAA')}) {
        const std::wstring path = dir + L"wiped.tmp";
        WriteFileBytes(path, bytes);
        RemovalCounters counters;
        AddToZip(path, true, false, WriterFor(place), counters);
        EXPECT_FALSE(FileExists(path)) << bytes.size();
        EXPECT_EQ(counters.ProblemCount, 1) << bytes.size();
        EXPECT_EQ(counters.NotRemovedCount, 0) << bytes.size();
    }
    EXPECT_FALSE(FileExists(place.ArchivePath(true)));
}

TEST(AddToZip, LargeFileShowsTheWaitingNotice)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    for (const size_t size : {size_t{1'000'000}, size_t{1'000'001}}) {
        const std::wstring path = dir + L"big.bin";
        WriteFileBytes(path, TextBytes(size, 1));
        std::vector<std::wstring> notices;
        int pumps = 0;
        UndoWriter writer = WriterFor(place);
        writer.notice = [&](const std::wstring& text) { notices.push_back(text); };
        writer.pump = [&] { ++pumps; };
        RemovalCounters counters;
        AddToZip(path, false, false, writer, counters);
        EXPECT_FALSE(FileExists(path));
        EXPECT_GE(pumps, 2);
        const std::vector<std::wstring> expected =
            size > 1'000'000 ? std::vector<std::wstring>{L"请耐心等待 - 大的文件会花费较多的时间 - "} : std::vector<std::wstring>{};
        EXPECT_EQ(notices, expected);
    }
}

TEST(AddToZip, ArchivePastTheLimitBecomesTheNextFreePart)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    const std::wstring archive = place.ArchivePath(true);
    const std::wstring full = dir + L"full.zip";
    AddToArchive(full, dir + L"big.bin", NoiseBytes(10'000'000, 7));
    ASSERT_GT(platform::ZipArchive(full).Size(), removal::kUndoArchiveLimit);
    const std::string fullBytes = ReadFileBytes(full);

    for (const bool partOnePresent : {true, false}) {
        SCOPED_TRACE(partOnePresent ? "part 1 present" : "no part yet");
        for (int part = 1; part <= 2; ++part)
            DeleteFileW(removal::ArchivePartPath(archive, part).c_str());
        const std::wstring partOne = place.programFolder + L"撤销20090312Temp-1.zip";
        if (partOnePresent)
            AddToArchive(partOne, dir + L"earlier.txt", "earlier");
        ASSERT_TRUE(CopyFileW(full.c_str(), archive.c_str(), FALSE));

        const std::wstring path = dir + L"next.tmp";
        WriteFileBytes(path, "next");
        RemovalCounters counters;
        AddToZip(path, true, false, WriterFor(place), counters);

        const std::wstring expectedPart = place.programFolder + (partOnePresent ? L"撤销20090312Temp-2.zip" : L"撤销20090312Temp-1.zip");
        EXPECT_EQ(ReadFileBytes(expectedPart), fullBytes);
        EXPECT_EQ(EntryPaths(archive), std::vector<std::wstring>{path});
        if (partOnePresent) {
            EXPECT_EQ(EntryPaths(partOne), std::vector<std::wstring>{dir + L"earlier.txt"});
        }
        EXPECT_EQ(counters.ProblemCount, 1);
    }
}

TEST(UndoZipBatch, FilesGoOnlyOnceTheirBatchIsOnDiskAndAnUnreadableOneStays)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    std::vector<std::wstring> paths;
    for (int i = 0; i < 5; ++i) {
        paths.push_back(dir + L"f" + std::to_wstring(i) + L".tmp");
        WriteFileBytes(paths.back(), TextBytes(2000 + static_cast<size_t>(i), static_cast<uint32_t>(i)));
    }
    RemovalCounters counters;
    removal::TUndoZipBatch batch(WriterFor(place), counters);
    {
        // Held for writing while the batch is written: it cannot be taken.
        const OpenElsewhere held(paths[2], GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        for (const std::wstring& path : paths)
            batch.Add(path, true, false);
        // Found again under another category, in other letter case: taken once.
        batch.Add(platform::Upper(paths[1]), true, false);
        for (const std::wstring& path : paths)
            EXPECT_TRUE(IsFile(path)) << "nothing goes before its batch is written";
        EXPECT_EQ(counters.ProblemCount, 0);
        batch.Flush();
    }
    EXPECT_EQ(EntryPaths(place.ArchivePath(true)), (std::vector<std::wstring>{paths[0], paths[1], paths[3], paths[4]}));
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(IsFile(paths[i]), i == 2) << i;
    EXPECT_EQ(EntryBytes(place.ArchivePath(true), paths[4], dir + L"scratch\\"), TextBytes(2004, 4));
    EXPECT_EQ(counters.ProblemCount, 4);
    EXPECT_EQ(counters.NotRemovedCount, 1);
}

TEST(UndoZipBatch, BatchThatFillsTheArchiveGoesOnInTheNextOne)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    const std::wstring archive = place.ArchivePath(true);
    // Just below the limit: the first file takes the archive past it.
    AddToArchive(archive, dir + L"big.bin", NoiseBytes(static_cast<size_t>(removal::kUndoArchiveLimit) - 2000, 3));
    ASSERT_LT(platform::ZipArchive(archive).Size(), removal::kUndoArchiveLimit);
    const std::wstring first = dir + L"a.tmp";
    const std::wstring second = dir + L"b.tmp";
    WriteFileBytes(first, NoiseBytes(4000, 1));
    WriteFileBytes(second, NoiseBytes(4000, 2));
    RemovalCounters counters;
    {
        removal::TUndoZipBatch batch(WriterFor(place), counters);
        batch.Add(first, true, false);
        batch.Add(second, true, false);
    }
    EXPECT_EQ(EntryPaths(removal::ArchivePartPath(archive, 1)), (std::vector<std::wstring>{dir + L"big.bin", first}));
    EXPECT_EQ(EntryPaths(archive), std::vector<std::wstring>{second});
    EXPECT_FALSE(IsFile(first));
    EXPECT_FALSE(IsFile(second));
    EXPECT_EQ(counters.ProblemCount, 2);
}

TEST(AddToZip, FileTheArchiveDoesNotTakeStaysAndCountsOnce)
{
    using Setup = std::function<std::shared_ptr<void>(const std::wstring& source, const UndoPlace& place)>;
    struct Case {
        const char* name;
        Setup setup;
    };
    const std::vector<Case> cases = {
        {"source open without sharing",
         [](const std::wstring& source, const UndoPlace&) {
             return std::make_shared<OpenElsewhere>(source, GENERIC_READ, 0);
         }},
        {"source open for writing",
         [](const std::wstring& source, const UndoPlace&) {
             return std::make_shared<OpenElsewhere>(source, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
         }},
        {"archive name taken by a folder",
         [](const std::wstring&, const UndoPlace& place) {
             CreateDirectoryW(place.ArchivePath(true).c_str(), nullptr);
             return std::shared_ptr<void>();
         }},
        {"read-only archive",
         [](const std::wstring&, const UndoPlace& place) {
             AddToArchive(place.ArchivePath(true), place.programFolder + L"old.txt", "old");
             SetFileAttributesW(place.ArchivePath(true).c_str(), FILE_ATTRIBUTE_READONLY);
             return std::shared_ptr<void>();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring dir = TestDir();
        const UndoPlace place = MakePlace(dir);
        const std::wstring source = dir + L"keep.tmp";
        const std::string bytes = TextBytes(3000, 5);
        WriteFileBytes(source, bytes);
        std::string archiveBefore;
        RemovalCounters counters;
        {
            const auto held = c.setup(source, place);
            if (IsFile(place.ArchivePath(true)))
                archiveBefore = ReadFileBytes(place.ArchivePath(true));
            AddToZip(source, true, false, WriterFor(place), counters);
        }
        EXPECT_EQ(counters.ProblemCount, 0);
        EXPECT_EQ(counters.NotRemovedCount, 1);
        EXPECT_EQ(ReadFileBytes(source), bytes);
        if (IsFile(place.ArchivePath(true))) {
            EXPECT_EQ(ReadFileBytes(place.ArchivePath(true)), archiveBefore);
        }
        SetFileAttributesW(place.ArchivePath(true).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST(AddToZip, LockedIndexDatGoesToShredFile)
{
    struct Case {
        std::uint8_t scanMode;
        int problems;
        int notRemoved;
        bool deferred;
    };
    for (const Case& c : {Case{2, 1, 0, true}, Case{0, 0, 1, false}}) {
        SCOPED_TRACE("scan mode " + std::to_string(c.scanMode));
        const std::wstring dir = TestDir();
        const UndoPlace place = MakePlace(dir);
        const std::wstring path = dir + L"Content.IE5\\index.dat";
        WriteFileBytes(path, TextBytes(2000, 6));
        UndoWriter writer = WriterFor(place);
        writer.shred = {.StubbornIndexDat = true, .ScanMode = c.scanMode};
        RemovalCounters counters;
        {
            const OpenElsewhere browser(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
            AddToZip(path, true, false, writer, counters);
        }
        EXPECT_EQ(counters.ProblemCount, c.problems);
        EXPECT_EQ(counters.NotRemovedCount, c.notRemoved);
        EXPECT_EQ(counters.IndexDatDeferred, c.deferred);
        EXPECT_TRUE(EntryPaths(place.ArchivePath(true)).empty());
    }
}

TEST(AddToZip, EmptyPathAndMissingFileChangeNothing)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    for (const std::wstring& path : {std::wstring(), dir + L"gone.tmp"}) {
        RemovalCounters counters;
        AddToZip(path, true, false, WriterFor(place), counters);
        EXPECT_EQ(counters.ProblemCount, 0);
        EXPECT_EQ(counters.NotRemovedCount, 0);
    }
    EXPECT_FALSE(FileExists(place.ArchivePath(true)));
}

TEST(AddToBat, RecordsEachFolderSoTheListRecreatesIt)
{
    for (const bool weekly : {true, false}) {
        SCOPED_TRACE(weekly ? "weekly" : "kept");
        const std::wstring dir = TestDir();
        const UndoPlace place = MakePlace(dir);
        const std::vector<std::wstring> folders = {dir + L"A B\\", dir + Wide("旧的 文件夹\\"), dir + L"x\\plain\\"};
        RemovalCounters counters;
        for (const std::wstring& folder : folders) {
            ASSERT_TRUE(platform::CreateFolders(folder));
            AddToBat(folder, weekly, WriterFor(place), counters);
            EXPECT_FALSE(FolderExists(folder)) << Utf8(folder);
        }
        EXPECT_EQ(counters.ProblemCount, 3);
        EXPECT_EQ(counters.NotRemovedCount, 0);

        const std::wstring list = place.programFolder + (weekly ? L"撤销20090312Temp.bat" : L"撤销20090312.bat");
        std::string expected;
        for (const std::wstring& folder : folders)
            expected += platform::ToAnsi(L"md \"" + folder + L"\"") + "\r\n";
        EXPECT_EQ(ReadFileBytes(list), expected);

        // Run as a batch file, the list brings every folder back, blanks and all.
        EXPECT_EQ(testing_support::RunProcess(L"cmd /c \"" + list + L"\""), 0);
        for (const std::wstring& folder : folders)
            EXPECT_TRUE(FolderExists(folder)) << Utf8(folder);
    }
}

TEST(AddToBat, FolderThatCannotGoLeavesNoLine)
{
    using Setup = std::function<void(const std::wstring& folder, const std::wstring& list)>;
    struct Case {
        const char* name;
        Setup setup;
    };
    const std::vector<Case> cases = {
        {"folder holds a file", [](const std::wstring& folder, const std::wstring&) { WriteFileBytes(folder + L"f.txt", "f"); }},
        {"folder is missing", [](const std::wstring& folder, const std::wstring&) { RemoveDirectoryW(folder.c_str()); }},
        {"list name taken by a folder", [](const std::wstring&, const std::wstring& list) { CreateDirectoryW(list.c_str(), nullptr); }},
        {"read-only list",
         [](const std::wstring&, const std::wstring& list) {
             WriteFileBytes(list, "md \"C:\\OLD\\\"\r\n");
             SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_READONLY);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring dir = TestDir();
        const UndoPlace place = MakePlace(dir);
        const std::wstring folder = dir + L"old\\";
        const std::wstring list = place.FolderListPath(true);
        ASSERT_TRUE(platform::CreateFolders(folder));
        c.setup(folder, list);
        const bool existed = FolderExists(folder);
        const std::string listBefore = IsFile(list) ? ReadFileBytes(list) : "";
        RemovalCounters counters;
        AddToBat(folder, true, WriterFor(place), counters);
        EXPECT_EQ(counters.ProblemCount, 0);
        EXPECT_EQ(counters.NotRemovedCount, 1);
        EXPECT_EQ(FolderExists(folder), existed);
        EXPECT_EQ(IsFile(list) ? ReadFileBytes(list) : "", listBefore);
        SetFileAttributesW(list.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}
