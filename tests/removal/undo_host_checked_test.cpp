// Undo archives that Python's zipfile reads afterwards on the host (host_checks.cmake runs
// these suites and then check_undo.py), including a day's archives built by a child process
// that is killed again and again while it moves files into them.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <set>

#include "platform/zip_archive.h"
#include "removal/undo_archive.h"
#include "support/test_support.h"
#include "undo_test_fixtures.h"

using platform::ZipArchive;
using removal::AddToZip;
using removal::RemovalCounters;
using removal::UndoPlace;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::Wide;
using testing_support::WriteFileBytes;
using namespace undo_fixtures;

namespace {

constexpr wchar_t kKillFolderVariable[] = L"TIDYMATE_UNDO_KILL_DIR";
constexpr int kKillFileCount = 300;
constexpr int kKills = 24;

std::wstring KillSource(const std::wstring& dir, int i)
{
    wchar_t name[32];
    swprintf(name, 32, L"src\\f%03d.bin", i);
    return dir + name;
}

int KillIndex(const std::wstring& path) { return std::stoi(path.substr(path.size() - 7, 3)); }

// Mostly small files; every ninth one large, so the day's archive passes the limit and rolls
// over to parts; a few empty ones.
std::string KillContent(int i)
{
    if (i % 9 == 0)
        return NoiseBytes(450'000 + i, i);
    if (i % 25 == 1)
        return "";
    return i % 2 ? TextBytes(200 + (i * 37) % 40000, i) : NoiseBytes((i * 53) % 3000, i);
}

UndoPlace KillPlace(const std::wstring& dir) { return {dir + L"prog\\", L"撤销20090312"}; }

// Today's weekly archive and its parts, in order.
std::vector<std::wstring> DayArchives(const UndoPlace& place)
{
    const std::wstring archive = place.ArchivePath(true);
    std::vector<std::wstring> archives;
    for (int part = 1; FileExists(removal::ArchivePartPath(archive, part)); ++part)
        archives.push_back(removal::ArchivePartPath(archive, part));
    if (FileExists(archive))
        archives.push_back(archive);
    return archives;
}

std::wstring OwnExe()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

HANDLE StartMoveLoop()
{
    std::wstring command = L"\"" + OwnExe() + L"\" --gtest_filter=HostCheckedUndoChild.MoveLoop";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

std::wstring FileName(const std::wstring& path) { return path.substr(path.find_last_of(L'\\') + 1); }

}  // namespace

TEST(HostCheckedUndo, ArchivesForPython)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = MakePlace(dir);
    struct File {
        const char* name;
        std::string bytes;
        bool weekly;
    };
    const std::vector<File> files = {
        {"src\\a.txt", "hello", true},
        {"src\\临时文件夹\\旧的文件.tmp", TextBytes(5000, 1), true},
        {"src\\empty.dat", "", true},
        {"src\\noise.bin", NoiseBytes(200'017, 2), false},
        {"src\\text.log", TextBytes(1'300'003, 4), false},
    };
    std::vector<ExpectedEntry> expected;
    for (const File& file : files) {
        const std::wstring path = dir + Wide(file.name);
        WriteFileBytes(path, file.bytes);
        RemovalCounters counters;
        AddToZip(path, file.weekly, false, WriterFor(place), counters);
        ASSERT_FALSE(FileExists(path));
        expected.push_back({FileName(place.ArchivePath(file.weekly)), path, file.bytes});
    }
    WritePythonManifest(place.programFolder, expected);
}

// The child: moves every source file into today's weekly archive, as a removal run does.
TEST(HostCheckedUndoChild, MoveLoop)
{
    wchar_t dir[MAX_PATH];
    if (!GetEnvironmentVariableW(kKillFolderVariable, dir, MAX_PATH))
        GTEST_SKIP() << "started only by HostCheckedUndo.FilesSurviveKilledMoves";
    RemovalCounters counters;
    // In batches, as the removal moves files: several entries under one journal.
    removal::TUndoZipBatch batch(WriterFor(KillPlace(dir)), counters);
    for (int i = 0; i < kKillFileCount; ++i)
        batch.Add(KillSource(dir, i), true, false);
    batch.Flush();
    EXPECT_EQ(counters.NotRemovedCount, 0);
}

TEST(HostCheckedUndo, FilesSurviveKilledMoves)
{
    const std::wstring dir = TestDir();
    const UndoPlace place = KillPlace(dir);
    CreateDirectoryW(place.programFolder.c_str(), nullptr);
    for (int i = 0; i < kKillFileCount; ++i)
        WriteFileBytes(KillSource(dir, i), KillContent(i));
    SetEnvironmentVariableW(kKillFolderVariable, dir.c_str());

    const unsigned seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMs(150, 900);
    int rolledBack = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", kill " + std::to_string(kill));
        HANDLE child = StartMoveLoop();
        ASSERT_NE(child, nullptr);
        Sleep(delayMs(random));
        TerminateProcess(child, 9);
        const DWORD ended = WaitForSingleObject(child, 60000);
        CloseHandle(child);
        ASSERT_EQ(ended, WAIT_OBJECT_0) << "the killed child must be gone before its files are checked";

        rolledBack += ZipArchive::RecoverInterrupted(place.ArchivePath(true)) ? 1 : 0;
        std::set<std::wstring> archived;
        for (const std::wstring& archive : DayArchives(place)) {
            for (const auto& entry : ZipArchive(archive).Entries())
                archived.insert(entry.Path());
        }
        for (int i = 0; i < kKillFileCount; ++i) {
            const std::wstring source = KillSource(dir, i);
            if (FileExists(source))
                ASSERT_EQ(ReadFileBytes(source), KillContent(i)) << Utf8(source) << " changed in place";
            else
                ASSERT_TRUE(archived.count(source)) << Utf8(source) << " is lost";
        }
    }
    std::printf("%d of %d kills interrupted an add\n", rolledBack, kKills);

    HANDLE child = StartMoveLoop();
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(WaitForSingleObject(child, 300000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(child, &code);
    CloseHandle(child);
    SetEnvironmentVariableW(kKillFolderVariable, nullptr);
    EXPECT_EQ(code, 0u);

    // Every file is in the day's archives now (a few twice: killed between add and delete),
    // each copy with its own bytes; the archive rolled over to parts on the way.
    const std::vector<std::wstring> archives = DayArchives(place);
    EXPECT_GE(archives.size(), 2u);
    std::vector<ExpectedEntry> expected;
    std::set<std::wstring> names;
    for (const std::wstring& archive : archives) {
        for (const auto& entry : ZipArchive(archive).Entries()) {
            expected.push_back({FileName(archive), entry.Path(), KillContent(KillIndex(entry.Path()))});
            names.insert(entry.Path());
        }
        const auto result = ZipArchive(archive).ExtractAll({dir + L"out", true});
        EXPECT_TRUE(result.errors.empty()) << Utf8(archive);
    }
    EXPECT_EQ(names.size(), size_t{kKillFileCount});
    for (int i = 0; i < kKillFileCount; ++i) {
        const std::wstring source = KillSource(dir, i);
        EXPECT_FALSE(FileExists(source));
        EXPECT_EQ(ReadFileBytes(dir + L"out\\C" + source.substr(2)), KillContent(i)) << Utf8(source);
    }
    WritePythonManifest(place.programFolder, expected);
}
