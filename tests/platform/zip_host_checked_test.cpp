// Archives that Python's zipfile reads afterwards on the host (tests/platform/host_checks.cmake
// runs these suites and then check_zip.py), including one built by a child process that is
// killed again and again in the middle of its adds.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <set>

#include "platform/zip_archive.h"
#include "support/test_support.h"
#include "zip_test_fixtures.h"

using platform::ZipArchive;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::Wide;
using testing_support::WriteFileBytes;
using namespace zip_fixtures;

namespace {

constexpr wchar_t kKillFolderVariable[] = L"TIDYMATE_ZIP_KILL_DIR";
constexpr int kKillFileCount = 300;

std::wstring KillSource(const std::wstring& dir, int i)
{
    wchar_t name[32];
    swprintf(name, 32, L"src\\f%03d.bin", i);
    return dir + name;
}

// Mostly small files, every seventh one larger than a few buffers.
std::string KillContent(int i)
{
    if (i % 7 == 0)
        return NoiseBytes(3 * platform::kZipBufferSize + i, i);
    return i % 2 ? TextBytes(200 + (i * 37) % 4000, i) : NoiseBytes((i * 53) % 3000, i);
}

std::wstring OwnExe()
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

HANDLE StartAddLoop()
{
    std::wstring command = L"\"" + OwnExe() + L"\" --gtest_filter=HostCheckedZipChild.AddLoop";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

}  // namespace

TEST(HostCheckedZip, ArchivesForPython)
{
    const std::wstring dir = TestDir();
    const std::vector<std::pair<std::wstring, std::string>> files = {
        {dir + L"src\\a.txt", "hello"},
        {dir + Wide("src\\临时文件夹\\旧的文件.tmp"), TextBytes(5000, 1)},
        {dir + L"src\\empty.dat", ""},
        {dir + L"src\\noise.bin", NoiseBytes(3 * platform::kZipBufferSize + 17, 2)},
        {dir + L"src\\gone.log", TextBytes(900, 3)},
        {dir + L"src\\text.log", TextBytes(5 * platform::kZipBufferSize + 3, 4)},
    };
    ZipArchive archive(dir + L"undo.zip");
    std::vector<std::pair<std::wstring, std::string>> expected;
    for (const auto& [path, bytes] : files) {
        WriteFileBytes(path, bytes);
        archive.Add(path, EntryNameFor(path));
        if (path.find(L"gone") == std::wstring::npos)
            expected.emplace_back(EntryNameFor(path), bytes);
    }
    ASSERT_EQ(archive.Delete({EntryNameFor(dir + L"src\\gone.log")}), 1u);
    WritePythonManifest(dir, L"undo.zip", expected);
}

// The child: moves every source file into the archive, as the program's removal does.
TEST(HostCheckedZipChild, AddLoop)
{
    wchar_t dir[MAX_PATH];
    if (!GetEnvironmentVariableW(kKillFolderVariable, dir, MAX_PATH))
        GTEST_SKIP() << "started only by HostCheckedZip.FilesSurviveKilledAdds";
    ZipArchive archive(std::wstring(dir) + L"undo.zip");
    for (int i = 0; i < kKillFileCount; ++i) {
        const std::wstring source = KillSource(dir, i);
        if (!FileExists(source))
            continue;
        archive.Add(source, EntryNameFor(source));
        ASSERT_TRUE(DeleteFileW(source.c_str()));
    }
}

TEST(HostCheckedZip, FilesSurviveKilledAdds)
{
    const std::wstring dir = TestDir();
    const std::wstring archivePath = dir + L"undo.zip";
    for (int i = 0; i < kKillFileCount; ++i)
        WriteFileBytes(KillSource(dir, i), KillContent(i));
    SetEnvironmentVariableW(kKillFolderVariable, dir.c_str());

    const unsigned seed = static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMs(150, 900);
    int rolledBack = 0;
    for (int kill = 0; kill < 24; ++kill) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", kill " + std::to_string(kill));
        HANDLE child = StartAddLoop();
        ASSERT_NE(child, nullptr);
        Sleep(delayMs(random));
        TerminateProcess(child, 9);
        WaitForSingleObject(child, 10000);
        CloseHandle(child);

        rolledBack += ZipArchive::RecoverInterrupted(archivePath) ? 1 : 0;
        std::set<std::wstring> names;
        if (FileExists(archivePath)) {
            for (const auto& entry : ZipArchive(archivePath).Entries())
                names.insert(entry.name);
        }
        for (int i = 0; i < kKillFileCount; ++i) {
            const std::wstring source = KillSource(dir, i);
            ASSERT_TRUE(FileExists(source) || names.count(EntryNameFor(source))) << Utf8(source) << " is lost";
        }
    }
    std::printf("%d of 24 kills interrupted an add\n", rolledBack);

    HANDLE child = StartAddLoop();
    ASSERT_NE(child, nullptr);
    ASSERT_EQ(WaitForSingleObject(child, 120000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(child, &code);
    CloseHandle(child);
    SetEnvironmentVariableW(kKillFolderVariable, nullptr);
    EXPECT_EQ(code, 0u);

    // Every file is in the archive now (some twice: killed between add and delete), each
    // copy with its own bytes.
    std::vector<std::pair<std::wstring, std::string>> expected;
    std::set<std::wstring> names;
    for (const auto& entry : ZipArchive(archivePath).Entries()) {
        const int i = std::stoi(entry.name.substr(entry.name.size() - 7, 3));
        expected.emplace_back(entry.name, KillContent(i));
        names.insert(entry.name);
    }
    EXPECT_EQ(names.size(), size_t{kKillFileCount});
    const auto result = ZipArchive(archivePath).ExtractAll({dir + L"out", true});
    EXPECT_TRUE(result.errors.empty());
    for (int i = 0; i < kKillFileCount; ++i) {
        const std::wstring source = KillSource(dir, i);
        EXPECT_FALSE(FileExists(source));
        EXPECT_EQ(ReadFileBytes(dir + L"out\\C" + source.substr(2)), KillContent(i)) << Utf8(source);
    }
    WritePythonManifest(dir, L"undo.zip", expected);
}
