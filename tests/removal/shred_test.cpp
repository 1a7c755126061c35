#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "removal/shred.h"
#include "support/test_support.h"

using removal::RemovalCounters;
using removal::ShredCallbacks;
using removal::ShredFile;
using removal::ShredOptions;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::WriteFileBytes;

namespace {

constexpr ShredOptions kOverwriteOn{.UseNoRemainsDeletion = true};
constexpr ShredOptions kOverwriteOff{};

// Counters as a removal run has them after counting the file as cleaned.
RemovalCounters RunCounters() { return {.ProblemCount = 5, .NotRemovedCount = 0}; }

void ExpectCountedAsFailure(const RemovalCounters& counters)
{
    EXPECT_EQ(counters.ProblemCount, 4);
    EXPECT_EQ(counters.NotRemovedCount, 1);
    EXPECT_FALSE(counters.IndexDatDeferred);
}

void ExpectUncounted(const RemovalCounters& counters)
{
    EXPECT_EQ(counters.ProblemCount, 5);
    EXPECT_EQ(counters.NotRemovedCount, 0);
    EXPECT_FALSE(counters.IndexDatDeferred);
}

// Holds a file open the way another program would, with the given sharing.
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

struct PassSeen {
    std::uint8_t pattern;
    std::string contents;
    int pumpsSoFar;
};

// Records what each pass left on disk, and the name and contents just before the delete.
struct Recorder {
    std::vector<PassSeen> passes;
    std::optional<std::wstring> nameBeforeDelete;
    std::string contentsBeforeDelete;
    int pumps = 0;

    ShredCallbacks Callbacks()
    {
        ShredCallbacks callbacks;
        callbacks.pump = [this] { ++pumps; };
        callbacks.passWritten = [this](std::uint8_t pattern, const std::wstring& path) {
            passes.push_back({pattern, ReadFileBytes(path), pumps});
        };
        callbacks.beforeDelete = [this](const std::wstring& name) {
            nameBeforeDelete = name;
            contentsBeforeDelete = ReadFileBytes(name);
        };
        return callbacks;
    }
};

std::string Filled(size_t size, std::uint8_t pattern) { return std::string(size, static_cast<char>(pattern)); }

}  // namespace

TEST(ShredFile, OverwritesWholeThousandByteBlocksThreeTimes)
{
    struct Case {
        size_t size;
        size_t overwrittenSize;
    } cases[] = {{2500, 3000}, {2000, 2000}, {1, 1000}, {0, 0}, {2'500'000, 2'500'000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        const std::wstring path = TestDir() + L"junk.tmp";
        WriteFileBytes(path, std::string(c.size, 'x'));
        Recorder recorder;
        RemovalCounters counters = RunCounters();

        ShredFile(path, false, kOverwriteOn, counters, recorder.Callbacks());

        ASSERT_EQ(recorder.passes.size(), 3u);
        const std::uint8_t patterns[] = {0x00, 0xFF, 0xAA};
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(recorder.passes[i].pattern, patterns[i]);
            EXPECT_EQ(recorder.passes[i].contents, Filled(c.overwrittenSize, patterns[i]));
        }
        EXPECT_EQ(recorder.contentsBeforeDelete, Filled(c.overwrittenSize, 0xAA));
        // The window gets its turn before every pass, and within a pass over megabytes.
        int pumpsBefore = 1;
        for (const PassSeen& pass : recorder.passes) {
            EXPECT_GE(pass.pumpsSoFar - pumpsBefore, c.size > 2'000'000 ? 2 : 1);
            pumpsBefore = pass.pumpsSoFar;
        }
        EXPECT_FALSE(FileExists(path));
        EXPECT_FALSE(FileExists(*recorder.nameBeforeDelete));
        ExpectUncounted(counters);
    }
}

TEST(ShredFile, RenamesOnlyToFreeNames)
{
    struct Case {
        const char* what;
        std::vector<const wchar_t*> taken;
        const wchar_t* lastName;
    } cases[] = {
        {"all free", {}, L"fkaie9ale.esli"},
        {"first taken", {L"0000.000"}, L"fkaie9ale.esli"},
        {"last taken", {L"fkaie9ale.esli"}, L"000000000000000000000.0000000000"},
        {"all taken", {L"0000.000", L"u8kw9sla.esl", L"000000000000000000000.0000000000", L"fkaie9ale.esli"},
         L"secret.doc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring dir = TestDir();
        const std::wstring path = dir + L"secret.doc";
        WriteFileBytes(path, "contents");
        for (const wchar_t* name : c.taken)
            WriteFileBytes(dir + name, "someone else's file");
        Recorder recorder;
        RemovalCounters counters = RunCounters();

        ShredFile(path, false, kOverwriteOn, counters, recorder.Callbacks());

        EXPECT_EQ(recorder.nameBeforeDelete, dir + c.lastName);
        EXPECT_FALSE(FileExists(dir + c.lastName));
        for (const wchar_t* name : c.taken)
            EXPECT_EQ(ReadFileBytes(dir + name), "someone else's file");
        EXPECT_FALSE(FileExists(path));
        ExpectUncounted(counters);
    }
}

TEST(ShredFile, ClearsProtectingAttributesFirst)
{
    const DWORD attributeSets[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM,
                                   FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
    for (const ShredOptions& options : {kOverwriteOn, kOverwriteOff}) {
        for (DWORD attributes : attributeSets) {
            SCOPED_TRACE(testing::Message() << "overwrite " << options.UseNoRemainsDeletion << ", attributes "
                                            << attributes);
            const std::wstring path = TestDir() + L"protected.log";
            WriteFileBytes(path, "log");
            ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
            Recorder recorder;
            RemovalCounters counters = RunCounters();

            ShredFile(path, false, options, counters, recorder.Callbacks());

            EXPECT_EQ(recorder.passes.size(), options.UseNoRemainsDeletion ? 3u : 0u);
            EXPECT_FALSE(FileExists(path));
            ExpectUncounted(counters);
        }
    }
}

// Another name of the same contents must keep them: only this name goes.
TEST(ShredFile, HardLinkedFileIsDeletedWithoutOverwriting)
{
    const std::wstring dir = TestDir();
    WriteFileBytes(dir + L"report.doc", "the only copy");
    ASSERT_TRUE(CreateHardLinkW((dir + L"report.tmp").c_str(), (dir + L"report.doc").c_str(), nullptr));
    Recorder recorder;
    RemovalCounters counters = RunCounters();

    ShredFile(dir + L"report.tmp", false, kOverwriteOn, counters, recorder.Callbacks());

    EXPECT_FALSE(FileExists(dir + L"report.tmp"));
    EXPECT_EQ(ReadFileBytes(dir + L"report.doc"), "the only copy");
    EXPECT_TRUE(recorder.passes.empty());
    ExpectUncounted(counters);
}

TEST(ShredFile, MissingFileOrFolderChangesNothing)
{
    const std::wstring dir = TestDir();
    CreateDirectoryW((dir + L"folder").c_str(), nullptr);
    for (const std::wstring& path : {dir + L"gone.tmp", dir + L"no such folder\\gone.tmp", dir + L"folder", dir}) {
        SCOPED_TRACE(testing_support::Utf8(path));
        Recorder recorder;
        RemovalCounters counters = RunCounters();

        ShredFile(path, false, kOverwriteOn, counters, recorder.Callbacks());

        ExpectUncounted(counters);
        EXPECT_EQ(recorder.pumps, 0);
        EXPECT_FALSE(recorder.nameBeforeDelete);
    }
    EXPECT_NE(GetFileAttributesW((dir + L"folder").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ShredFile, LockedFileStaysUntouchedAndCounts)
{
    for (const ShredOptions& options : {kOverwriteOn, kOverwriteOff}) {
        SCOPED_TRACE(options.UseNoRemainsDeletion);
        const std::wstring path = TestDir() + L"in use.dat";
        WriteFileBytes(path, "still needed");
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
        RemovalCounters counters = RunCounters();
        {
            OpenElsewhere lock(path, GENERIC_READ, 0);
            ShredFile(path, false, options, counters);
        }
        EXPECT_EQ(ReadFileBytes(path), "still needed");
        EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY);
        ExpectCountedAsFailure(counters);
    }
}

// Open elsewhere with read and write shared but not delete: the overwrite goes through, the
// renames and the delete do not. The file stays, emptied of its contents, and counts as not removed.
TEST(ShredFile, OverwrittenFileThatCannotBeDeletedCounts)
{
    const std::wstring path = TestDir() + L"held.tmp";
    WriteFileBytes(path, std::string(2500, 's'));
    Recorder recorder;
    RemovalCounters counters = RunCounters();
    {
        OpenElsewhere lock(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ShredFile(path, true, kOverwriteOn, counters, recorder.Callbacks());
    }
    EXPECT_EQ(recorder.nameBeforeDelete, path);
    EXPECT_EQ(ReadFileBytes(path), Filled(3000, 0xAA));
    ExpectCountedAsFailure(counters);
}

namespace {

const wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingRenames[] = L"PendingFileRenameOperations";

std::optional<std::wstring> PendingRenames()
{
    DWORD size = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames, RRF_RT_REG_MULTI_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::wstring value(size / sizeof(wchar_t), L'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPendingRenames, RRF_RT_REG_MULTI_SZ, nullptr,
                     value.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(size / sizeof(wchar_t));
    return value;
}

// Puts the machine's list of deletions at restart back as it was, so the prefix's next boot
// does not act on what a test scheduled.
class PendingRenamesGuard {
public:
    PendingRenamesGuard() : saved_(PendingRenames()) {}
    ~PendingRenamesGuard()
    {
        HKEY key;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
            return;
        if (saved_)
            RegSetValueExW(key, kPendingRenames, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(saved_->data()),
                           static_cast<DWORD>(saved_->size() * sizeof(wchar_t)));
        else
            RegDeleteValueW(key, kPendingRenames);
        RegCloseKey(key);
    }

private:
    std::optional<std::wstring> saved_;
};

bool ScheduledForRestart(const std::wstring& path)
{
    const std::optional<std::wstring> pending = PendingRenames();
    return pending && pending->find(path) != std::wstring::npos;
}

}  // namespace

TEST(ShredFile, LockedIndexDatIsDeferredOnlyInCustomRunsWithoutOverwrite)
{
    struct Case {
        const char* what;
        const wchar_t* name;
        ShredOptions options;
        bool deferred;
    } cases[] = {
        {"custom settings run", L"index.dat", {.StubbornIndexDat = true, .ScanMode = 2}, true},
        {"name in any case, inside a longer path", L"Content.IE5\\INDEX.DAT.old",
         {.StubbornIndexDat = true, .ScanMode = 2}, true},
        {"Clean PC run", L"index.dat", {.StubbornIndexDat = true, .ScanMode = 0}, false},
        {"Remove tracks run", L"index.dat", {.StubbornIndexDat = true, .ScanMode = 1}, false},
        {"stubborn setting off", L"index.dat", {.StubbornIndexDat = false, .ScanMode = 2}, false},
        {"overwrite on", L"index.dat", {.UseNoRemainsDeletion = true, .StubbornIndexDat = true, .ScanMode = 2}, false},
        {"other file name", L"history.dat", {.StubbornIndexDat = true, .ScanMode = 2}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PendingRenamesGuard restore;
        const std::wstring path = TestDir() + c.name;
        WriteFileBytes(path, "Client UrlCache MMF Ver 5.2");
        RemovalCounters counters = RunCounters();
        {
            OpenElsewhere lock(path, GENERIC_READ | GENERIC_WRITE, 0);
            ShredFile(path, false, c.options, counters);
        }
        EXPECT_TRUE(FileExists(path));
        EXPECT_EQ(ScheduledForRestart(path), c.deferred);
        EXPECT_EQ(counters.IndexDatDeferred, c.deferred);
        EXPECT_EQ(counters.ProblemCount, c.deferred ? 5 : 4);
        EXPECT_EQ(counters.NotRemovedCount, c.deferred ? 0 : 1);
    }
}
