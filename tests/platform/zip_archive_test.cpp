#include <algorithm>
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>

#include "platform/errors.h"
#include "platform/zip_archive.h"
#include "platform/zip_file_io.h"
#include "support/test_support.h"
#include "zip_test_fixtures.h"

using platform::AppError;
using platform::ZipArchive;
using platform::ZipEntryInfo;
using platform::ZipExtractOptions;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::Wide;
using testing_support::WriteFileBytes;
using namespace zip_fixtures;

namespace {

FILETIME LastWrite(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

uint64_t Ticks(const FILETIME& time) { return (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

// Sets a file's last-write time, given in local time.
void SetLastWrite(const std::wstring& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    const SYSTEMTIME system{year, month, 0, day, hour, minute, second, 0};
    FILETIME local;
    FILETIME time;
    SystemTimeToFileTime(&system, &local);
    LocalFileTimeToFileTime(&local, &time);
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

// The message of the AppError that `action` throws; fails the test when it throws none.
template <typename Action>
std::wstring ErrorOf(Action action)
{
    try {
        action();
    } catch (const AppError& error) {
        return error.message();
    }
    ADD_FAILURE() << "no AppError";
    return {};
}

struct Sample {
    std::wstring path;
    std::string bytes;
};

std::vector<Sample> Samples(const std::wstring& dir)
{
    return {
        {dir + L"src\\a.txt", "hello"},
        {dir + Wide("src\\临时文件夹\\旧的文件.tmp"), TextBytes(5000, 1)},
        {dir + L"src\\empty.dat", ""},
        {dir + L"src\\noise.bin", NoiseBytes(3 * platform::kZipBufferSize + 17, 2)},
        {dir + L"src\\text.log", TextBytes(5 * platform::kZipBufferSize + 3, 3)},
    };
}

}  // namespace

TEST(ZipArchive, RoundTripKeepsBytesTimesAndAttributes)
{
    const std::wstring dir = TestDir();
    const std::wstring archivePath = dir + Wide("撤销20090312Temp.zip");
    std::vector<Sample> samples = Samples(dir);
    for (const Sample& sample : samples)
        WriteFileBytes(sample.path, sample.bytes);
    SetLastWrite(samples[0].path, 2009, 3, 12, 10, 20, 31);
    SetFileAttributesW(samples[0].path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    const DWORD attributes = GetFileAttributesW(samples[0].path.c_str());
    ASSERT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              DWORD{FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN});
    std::vector<FILETIME> times;
    for (const Sample& sample : samples)
        times.push_back(LastWrite(sample.path));

    ZipArchive writer(archivePath);
    EXPECT_FALSE(writer.Exists());
    EXPECT_EQ(writer.Size(), 0u);
    int pumped = 0;
    for (const Sample& sample : samples)
        writer.Add(sample.path, EntryNameFor(sample.path), [&] { ++pumped; });
    EXPECT_GE(pumped, 8);  // once per chunk of the two large files at least
    EXPECT_EQ(writer.Size(), ReadFileBytes(archivePath).size());
    EXPECT_FALSE(FileExists(archivePath + L".journal"));

    const std::vector<ZipEntryInfo> entries = ZipArchive(archivePath).Entries();
    ASSERT_EQ(entries.size(), samples.size());
    for (size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(entries[i].name, EntryNameFor(samples[i].path));
        EXPECT_EQ(entries[i].Path(), samples[i].path);
        EXPECT_EQ(entries[i].size, samples[i].bytes.size());
        EXPECT_EQ(entries[i].crc, Crc32(samples[i].bytes));
    }
    EXPECT_LT(entries[4].compressedSize, entries[4].size / 4);  // text is deflated
    EXPECT_EQ(entries[0].dosTime, (10 << 11) | (20 << 5) | 15) << "10:20:30, DOS time counts two seconds";
    EXPECT_EQ(entries[0].dosDate, (29 << 9) | (3 << 5) | 12);
    EXPECT_EQ(entries[0].attributes, attributes);

    for (const Sample& sample : samples) {
        SetFileAttributesW(sample.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(sample.path.c_str());
    }
    const platform::ZipExtractResult back = ZipArchive(archivePath).ExtractAll({});
    EXPECT_EQ(back.extracted, samples.size());
    EXPECT_TRUE(back.errors.empty());
    for (size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(ReadFileBytes(samples[i].path), samples[i].bytes) << Utf8(samples[i].path);
        EXPECT_EQ(Ticks(LastWrite(samples[i].path)), Ticks(times[i])) << Utf8(samples[i].path);
    }
    EXPECT_EQ(GetFileAttributesW(samples[0].path.c_str()), attributes);

    // Below a folder, only the named entries, the drive becoming a folder.
    const std::wstring out = dir + L"out\\";
    const auto some = ZipArchive(archivePath).Extract({samples[1].path, samples[3].path}, {out, true});
    EXPECT_EQ(some.extracted, 2u);
    EXPECT_EQ(ReadFileBytes(out + L"C" + samples[1].path.substr(2)), samples[1].bytes);
    EXPECT_EQ(ReadFileBytes(out + L"C" + samples[3].path.substr(2)), samples[3].bytes);
    EXPECT_FALSE(FileExists(out + L"C" + samples[0].path.substr(2)));
}

TEST(ZipArchive, ExtractWithoutOverwriteKeepsExistingFiles)
{
    const std::wstring dir = TestDir();
    const std::wstring source = dir + L"a.txt";
    WriteFileBytes(source, "archived");
    ZipArchive archive(dir + L"undo.zip");
    archive.Add(source, EntryNameFor(source));
    WriteFileBytes(source, "newer");

    EXPECT_EQ(archive.ExtractAll({L"", false}).extracted, 0u);
    EXPECT_EQ(ReadFileBytes(source), "newer");
    EXPECT_EQ(archive.ExtractAll({L"", true}).extracted, 1u);
    EXPECT_EQ(ReadFileBytes(source), "archived");
}

TEST(ZipArchive, NamesWithoutUtf8FlagAreCodePage936)
{
    const std::wstring dir = TestDir();
    // "C:/临时/旧.txt" in code page 936, and the same name in UTF-8 with the flag.
    const std::string gbkName = "C:/\xC1\xD9\xCA\xB1/\xBE\xC9.txt";
    const std::string utf8Name = Utf8(Wide("C:/临时/新.txt"));
    WriteFileBytes(dir + L"foreign.zip", HandMadeZip({{gbkName, "old"}, {utf8Name, "new", 0x0800}}));

    const auto entries = ZipArchive(dir + L"foreign.zip").Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, Wide("C:/临时/旧.txt"));
    EXPECT_EQ(entries[1].name, Wide("C:/临时/新.txt"));
    EXPECT_EQ(entries[0].attributes, DWORD{FILE_ATTRIBUTE_ARCHIVE});

    const auto result = ZipArchive(dir + L"foreign.zip").Extract({Wide("c:\\临时\\旧.TXT")}, {dir + L"out", true});
    EXPECT_EQ(result.extracted, 1u);
    EXPECT_EQ(ReadFileBytes(dir + Wide("out\\C\\临时\\旧.txt")), "old");
}

TEST(ZipArchive, UnsafeNamesAreNotExtracted)
{
    const std::wstring dir = TestDir();
    WriteFileBytes(dir + L"evil.zip", HandMadeZip({
                                          {"../escaped.txt", "x"},
                                          {"C:/tidymate-tests/../escaped.txt", "x"},
                                          {"C:/tidymate-tests/stream.txt:hidden", "x"},
                                          {"C:/tidymate-tests/.. /escaped.txt", "x"},
                                          {"/rooted.txt", "x"},
                                      }));
    ZipArchive archive(dir + L"evil.zip");
    const auto inPlace = archive.ExtractAll({});
    EXPECT_EQ(inPlace.extracted, 0u);
    EXPECT_EQ(inPlace.errors.size(), 5u);
    EXPECT_FALSE(FileExists(L"C:\\escaped.txt"));
    EXPECT_FALSE(FileExists(L"C:\\tidymate-tests\\stream.txt"));

    // Below a folder a leading slash is dropped, the rest stays refused.
    const auto below = archive.ExtractAll({dir + L"out", true});
    EXPECT_EQ(below.extracted, 1u);
    EXPECT_EQ(below.errors.size(), 4u);
    EXPECT_EQ(ReadFileBytes(dir + L"out\\rooted.txt"), "x");
    EXPECT_FALSE(FileExists(dir + L"escaped.txt"));
}

TEST(ZipArchive, DeleteEntriesKeepsTheOthers)
{
    const std::wstring dir = TestDir();
    const std::wstring archivePath = dir + L"undo.zip";
    const std::vector<Sample> samples = Samples(dir);
    ZipArchive archive(archivePath);
    for (const Sample& sample : samples) {
        WriteFileBytes(sample.path, sample.bytes);
        archive.Add(sample.path, EntryNameFor(sample.path));
    }
    const std::string before = ReadFileBytes(archivePath);
    EXPECT_EQ(archive.Delete({L"C:/no/such/entry.txt"}), 0u);
    EXPECT_EQ(ReadFileBytes(archivePath), before);

    // Either slash direction and any letter case name an entry.
    std::wstring upper = samples[0].path;
    CharUpperW(upper.data());
    EXPECT_EQ(archive.Delete({upper, EntryNameFor(samples[3].path)}), 2u);

    const auto entries = archive.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Path(), samples[1].path);
    EXPECT_EQ(entries[1].Path(), samples[2].path);
    EXPECT_EQ(entries[2].Path(), samples[4].path);
    const auto result = archive.ExtractAll({dir + L"out", true});
    EXPECT_EQ(result.extracted, 3u);
    EXPECT_TRUE(result.errors.empty());
    EXPECT_EQ(ReadFileBytes(dir + L"out\\C" + samples[4].path.substr(2)), samples[4].bytes);

    EXPECT_EQ(archive.Delete({samples[1].path, samples[2].path, samples[4].path}), 3u);
    EXPECT_TRUE(archive.Entries().empty());
}

TEST(ZipArchive, DamagedArchivesGiveClearErrorsAndStayUnchanged)
{
    const std::wstring dir = TestDir();
    const std::wstring source = dir + L"keep.txt";
    WriteFileBytes(source, TextBytes(3000, 4));
    ZipArchive good(dir + L"good.zip");
    good.Add(source, EntryNameFor(source));
    good.Add(source, EntryNameFor(source) + L".2");
    const std::string valid = ReadFileBytes(dir + L"good.zip");

    std::string badDirectoryOffset = valid;
    badDirectoryOffset[badDirectoryOffset.size() - 6] ^= 0x40;
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"plain text", "this is no zip file at all"},
        {"cut before its end record", valid.substr(0, valid.size() - 10)},
        {"cut in half", valid.substr(0, valid.size() / 2)},
        {"directory offset out of place", badDirectoryOffset},
        {"end record only, claiming entries", valid.substr(valid.size() - 22)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring path = dir + L"bad.zip";
        WriteFileBytes(path, c.bytes);
        ZipArchive archive(path);
        const std::wstring listError = ErrorOf([&] { archive.Entries(); });
        EXPECT_NE(listError.find(path), std::wstring::npos) << Utf8(listError);
        EXPECT_NE(listError.find(L"ZIP"), std::wstring::npos) << Utf8(listError);
        ErrorOf([&] { archive.ExtractAll({dir + L"out", true}); });
        ErrorOf([&] { archive.Add(source, L"C:/new.txt"); });
        ErrorOf([&] { archive.Delete({L"C:/x.txt"}); });
        EXPECT_EQ(ReadFileBytes(path), c.bytes);
        EXPECT_FALSE(FileExists(path + L".journal"));
    }

    // Damaged data of one entry: that entry fails its check, the other extracts.
    std::string flipped = valid;
    flipped[30 + Utf8(EntryNameFor(source)).size() + 10] ^= 0x01;
    WriteFileBytes(dir + L"flipped.zip", flipped);
    const auto result = ZipArchive(dir + L"flipped.zip").ExtractAll({dir + L"out", true});
    EXPECT_EQ(result.extracted, 1u);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_NE(result.errors[0].find(L"keep.txt"), std::wstring::npos) << Utf8(result.errors[0]);
    EXPECT_FALSE(FileExists(dir + L"out\\C" + source.substr(2)));
    EXPECT_EQ(ReadFileBytes(dir + L"out\\C" + source.substr(2) + L".2"), TextBytes(3000, 4));

    const std::wstring missing = dir + L"missing.zip";
    EXPECT_NE(ErrorOf([&] { ZipArchive(missing).Entries(); }).find(missing), std::wstring::npos);
    EXPECT_NE(ErrorOf([&] { ZipArchive(missing).ExtractAll({}); }).find(missing), std::wstring::npos);
}

TEST(ZipArchive, SourceThatOthersMayWriteIsNotAdded)
{
    const std::wstring dir = TestDir();
    const std::wstring archivePath = dir + L"undo.zip";
    const std::wstring first = dir + L"first.txt";
    WriteFileBytes(first, "first");
    ZipArchive archive(archivePath);
    archive.Add(first, EntryNameFor(first));
    const std::string before = ReadFileBytes(archivePath);

    const struct {
        const char* what;
        DWORD access;
        DWORD share;
    } cases[] = {
        {"open without sharing", GENERIC_READ, 0},
        {"open for writing", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE},
    };
    const std::wstring locked = dir + L"locked.txt";
    WriteFileBytes(locked, "in use");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        HANDLE other = CreateFileW(locked.c_str(), c.access, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        const std::wstring message = ErrorOf([&] { archive.Add(locked, EntryNameFor(locked)); });
        CloseHandle(other);
        EXPECT_NE(message.find(locked), std::wstring::npos) << Utf8(message);
        EXPECT_EQ(ReadFileBytes(archivePath), before);
        EXPECT_FALSE(FileExists(archivePath + L".journal"));
    }
    ErrorOf([&] { archive.Add(dir + L"missing.txt", L"C:/missing.txt"); });
    ErrorOf([&] { ZipArchive(dir + L"new.zip").Add(locked + L"-missing", L"C:/x"); });
    EXPECT_FALSE(FileExists(dir + L"new.zip"));

    // Other readers do not stop an add.
    HANDLE reader = CreateFileW(locked.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    archive.Add(locked, EntryNameFor(locked));
    CloseHandle(reader);
    EXPECT_EQ(archive.Entries().size(), 2u);
}

TEST(ZipArchive, FileOf4GiBIsRefused)
{
    const std::wstring dir = TestDir();
    const std::wstring huge = dir + L"huge.bin";
    HANDLE file = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 0x100000000LL;
    ASSERT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    const std::wstring message = ErrorOf([&] { ZipArchive(dir + L"undo.zip").Add(huge, EntryNameFor(huge)); });
    EXPECT_NE(message.find(L"4 GB"), std::wstring::npos) << Utf8(message);
    EXPECT_FALSE(FileExists(dir + L"undo.zip"));
    DeleteFileW(huge.c_str());
}

// An add stopped after every few bytes written (journal, entry, directory): recovery gives
// back the archive as it was, byte for byte, until the add completes.
TEST(ZipArchive, InterruptedAddRollsBackToTheEarlierArchive)
{
    const std::wstring dir = TestDir();
    const std::wstring archivePath = dir + L"undo.zip";
    std::map<std::wstring, std::string> files = {
        {dir + L"one.txt", TextBytes(700, 5)},
        {dir + Wide("二.bin"), NoiseBytes(300, 6)},
    };
    const std::wstring next = dir + L"next.bin";
    WriteFileBytes(next, NoiseBytes(500, 7));

    for (const bool firstAdd : {true, false}) {
        SCOPED_TRACE(firstAdd ? "first add" : "third add");
        DeleteFileW(archivePath.c_str());
        if (!firstAdd) {
            for (const auto& [path, bytes] : files) {
                WriteFileBytes(path, bytes);
                ZipArchive(archivePath).Add(path, EntryNameFor(path));
            }
        }
        const std::string before = firstAdd ? std::string() : ReadFileBytes(archivePath);
        bool completed = false;
        int interruptions = 0;
        for (uint64_t budget = 0; !completed; budget += 7) {
            platform::zip::SetWriteBudgetForTesting(budget);
            try {
                ZipArchive(archivePath).Add(next, EntryNameFor(next));
                completed = true;
            } catch (const platform::zip::WriteInterrupted&) {
                ++interruptions;
            }
            platform::zip::SetWriteBudgetForTesting(std::nullopt);
            if (completed)
                break;
            EXPECT_TRUE(FileExists(archivePath + L".journal")) << budget;
            ZipArchive::RecoverInterrupted(archivePath);
            EXPECT_FALSE(FileExists(archivePath + L".journal"));
            if (firstAdd)
                ASSERT_FALSE(FileExists(archivePath)) << budget;
            else
                ASSERT_EQ(ReadFileBytes(archivePath), before) << budget;
        }
        EXPECT_GT(interruptions, 50);
        const auto entries = ZipArchive(archivePath).Entries();
        ASSERT_EQ(entries.size(), firstAdd ? 1u : 3u);
        EXPECT_EQ(entries.back().Path(), next);
        EXPECT_TRUE(ZipArchive(archivePath).ExtractAll({dir + L"out", true}).errors.empty());
        EXPECT_EQ(ReadFileBytes(dir + L"out\\C" + next.substr(2)), NoiseBytes(500, 7));
    }
}

TEST(ZipArchive, DataThatDoesNotShrinkIsStoredAndTextStillShrinks)
{
    const std::wstring dir = TestDir();
    const std::string noise = NoiseBytes(16 * platform::kZipBufferSize, 7);
    const std::string text = TextBytes(16 * platform::kZipBufferSize, 8);
    WriteFileBytes(dir + L"noise.bin", noise);
    WriteFileBytes(dir + L"text.log", text);
    auto entryName = [](std::wstring path) {
        std::replace(path.begin(), path.end(), L'\\', L'/');
        return path;
    };
    ZipArchive archive(dir + L"a.zip");
    archive.Add(dir + L"noise.bin", entryName(dir + L"noise.bin"));
    archive.Add(dir + L"text.log", entryName(dir + L"text.log"));
    const auto entries = ZipArchive(dir + L"a.zip").Entries();
    ASSERT_EQ(entries.size(), 2u);
    // Stored blocks cost 5 bytes in 65535; the probe at the start may not shrink at all.
    EXPECT_LT(entries[0].compressedSize, noise.size() + noise.size() / 100);
    EXPECT_LT(entries[1].compressedSize, text.size() / 2);
    DeleteFileW((dir + L"noise.bin").c_str());
    DeleteFileW((dir + L"text.log").c_str());
    EXPECT_TRUE(ZipArchive(dir + L"a.zip").ExtractAll({L"", false}).errors.empty());
    EXPECT_EQ(ReadFileBytes(dir + L"noise.bin"), noise);
    EXPECT_EQ(ReadFileBytes(dir + L"text.log"), text);
}
