// The unattended run as a real process: "schedule" and a due "bootup" scan the test drive,
// move the findings into today's undo set beside the exe, clear the pending flag and end
// by themselves.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/ini_file.h"
#include "app/schedule.h"
#include "e2e/program_process.h"
#include "platform/text.h"
#include "platform/zip_archive.h"
#include "support/test_support.h"

using e2e::ProgramProcess;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::RemoveTree;
using testing_support::SetAge;
using testing_support::TEnvironmentGuard;
using testing_support::WriteAgedFile;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::WriteFileBytes;

namespace {

struct TFolderCleanup {
    std::vector<std::wstring> folders;
    ~TFolderCleanup()
    {
        for (const std::wstring& folder : folders)
            RemoveTree(folder);
    }
};

std::wstring UndoBase(const std::wstring& dir) { return dir + app::TodayUndoName(app::Today()) + L"Temp"; }

std::string Settings(const std::string& autoRun)
{
    return "[HardDrive]\r\nUseTimeBuffer=1\r\nEndTMPAction=1\r\nEndBAKAction=1\r\nStart~Action=1\r\n"
           "EndOLDAction=1\r\nEndCHKAction=1\r\nStartCopyOfAction=1\r\n"
           "[AutoRun]\r\nClose=1\r\n" + autoRun +
           "[DrivesSelected]\r\nC:\\=0\r\nD:\\=0\r\nE:\\=1\r\n";
}

// A FOUND.nnn folder is only looked into at the top of a drive: pick a free number.
std::wstring FreeFoundFolder()
{
    for (int n = GetCurrentProcessId() % 1000, tries = 0; tries < 1000; ++tries, n = (n + 1) % 1000) {
        wchar_t name[32];
        swprintf(name, 32, L"E:\\FOUND.%03d\\", n);
        if (GetFileAttributesW(name) == INVALID_FILE_ATTRIBUTES)
            return name;
    }
    return L"";
}

// Seeds junk and kept files on the test drive, runs the program with `arguments` and checks
// the files on disk, the undo set beside the exe and the pending flag.
void CheckCleanPcRun(const std::wstring& dir, const std::wstring& arguments, const std::string& autoRun)
{
    const std::wstring seeded = L"E:\\sched-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    const std::wstring found = FreeFoundFolder();
    ASSERT_FALSE(found.empty());
    TFolderCleanup cleanup{{seeded, found}};
    const std::wstring temp = dir + L"temp\\";
    CreateDirectoryW(temp.c_str(), nullptr);
    TEnvironmentGuard tempVariable(L"TEMP", temp);
    TEnvironmentGuard tmpVariable(L"TMP", temp);

    const std::map<std::wstring, std::string> junk = {
        {seeded + L"a.tmp", "temporary bytes 1"},   {seeded + L"b.bak", "backup bytes 22"},
        {seeded + L"~c.txt", "tilde bytes 333"},    {seeded + L"d.old", "old bytes 4444"},
        {seeded + L"复件 x.txt", "copy bytes 55555"}, {found + L"file0001.chk", "chkdsk fragment 6"},
    };
    const std::map<std::wstring, std::string> kept = {
        {seeded + L"keep.txt", "not junk"},
        {seeded + L"young.tmp", "inside the time buffer"},
    };
    for (const auto& [path, bytes] : junk)
        WriteAgedFile(path, bytes, 30);
    WriteAgedFile(seeded + L"keep.txt", kept.at(seeded + L"keep.txt"), 30);
    WriteAgedFile(seeded + L"young.tmp", kept.at(seeded + L"young.tmp"), 3);
    // The time buffer applies to the FOUND folder's own time as well.
    SetAge(found, 30);
    WriteFileBytes(dir + L"Trimdex.ini", Settings(autoRun));

    {
        ProgramProcess program(dir, arguments);
        ASSERT_EQ(program.WaitForExit(180000), 0) << "the run should end by itself without a message box";
    }

    for (const auto& [path, bytes] : junk)
        EXPECT_FALSE(FileExists(path)) << "not removed: " << Utf8(path);
    for (const auto& [path, bytes] : kept)
        EXPECT_EQ(ReadFileBytes(path), bytes) << "should be kept: " << Utf8(path);
    EXPECT_EQ(GetFileAttributesW(found.c_str()), INVALID_FILE_ATTRIBUTES) << "the FOUND folder is a finding too";

    // The undo archive holds every removed file under its full path, with its bytes.
    const platform::ZipArchive archive(UndoBase(dir) + L".zip");
    ASSERT_TRUE(archive.Exists());
    std::map<std::wstring, std::wstring> entries;  // upper-cased path -> stored name
    for (const platform::ZipEntryInfo& entry : archive.Entries())
        entries[platform::Upper(entry.Path())] = entry.name;
    for (const auto& [path, bytes] : kept)
        EXPECT_FALSE(entries.contains(platform::Upper(path))) << "archived: " << Utf8(path);
    const std::wstring out = dir + L"out\\";
    const platform::ZipExtractResult extracted = archive.ExtractAll({out, true});
    EXPECT_TRUE(extracted.errors.empty());
    for (const auto& [path, bytes] : junk) {
        const auto entry = entries.find(platform::Upper(path));
        ASSERT_NE(entry, entries.end()) << "not in the archive: " << Utf8(path);
        // "E:\x\a.tmp" comes back as <out>\E\x\a.tmp.
        EXPECT_EQ(ReadFileBytes(out + path.substr(0, 1) + path.substr(2)), bytes) << Utf8(path);
    }

    // The removed folder is recorded so that undo can make it again.
    const std::wstring folderList = platform::FromAnsi(ReadFileBytes(UndoBase(dir) + L".bat"));
    EXPECT_NE(platform::Upper(folderList).find(platform::Upper(L"md \"" + found.substr(0, found.size() - 1))),
              std::wstring::npos)
        << Utf8(folderList);

    EXPECT_FALSE(app::TMemIniFile(dir + L"Trimdex.ini").ReadBool(L"AutoRun", L"switch", true));
}

// Saves a registry key tree of HKCU and puts it back as it was afterwards.
class TKeySnapshot {
public:
    explicit TKeySnapshot(std::wstring path) : path_(std::move(path)) { existed_ = Save(path_, root_); }
    ~TKeySnapshot()
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        if (existed_)
            Restore(path_, root_);
    }

private:
    struct TValue {
        DWORD type;
        std::vector<BYTE> data;
    };
    struct TNode {
        std::map<std::wstring, TValue> values;
        std::map<std::wstring, TNode> keys;
    };

    static bool Save(const std::wstring& path, TNode& node)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        for (DWORD i = 0;; ++i) {
            wchar_t name[16384];
            DWORD nameLength = 16384, type = 0, size = 0;
            if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
                break;
            TValue value{type, std::vector<BYTE>(size)};
            DWORD read = size;
            RegQueryValueExW(key, name, nullptr, nullptr, value.data.data(), &read);
            node.values[name] = value;
        }
        for (DWORD i = 0;; ++i) {
            wchar_t name[256];
            DWORD nameLength = 256;
            if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            Save(path + L"\\" + name, node.keys[name]);
        }
        RegCloseKey(key);
        return true;
    }

    static void Restore(const std::wstring& path, const TNode& node)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        for (const auto& [name, value] : node.values)
            RegSetValueExW(key, name.c_str(), 0, value.type, value.data.data(), static_cast<DWORD>(value.data.size()));
        RegCloseKey(key);
        for (const auto& [name, child] : node.keys)
            Restore(path + L"\\" + name, child);
    }

    std::wstring path_;
    TNode root_;
    bool existed_ = false;
};

// The history lists of the current user that a Remove tracks run empties.
constexpr const wchar_t* kHistoryKeys[] = {
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts",
    L"Software\\Microsoft\\Search Assistant\\ACMru",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU",
    L"Software\\Microsoft\\Internet Explorer",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder",
    L"Software\\Netscape\\Netscape Navigator\\URL History",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist",
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List",
    L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
};

}  // namespace

TEST(Schedule, CleanPcMovesOldJunkIntoTodaysUndoSetAndEnds)
{
    CheckCleanPcRun(TestDir(), L"schedule", "switch=1\r\nType=0\r\n");
}

TEST(Schedule, DueBootupRunsTheScanAndWritesToday)
{
    const app::Date weekAgo = app::AddDays(app::Today(), -7);
    const std::string lastRun = "Year=" + std::to_string(weekAgo.year) + "\r\nMonth=" + std::to_string(weekAgo.month) +
                                "\r\nDay=" + std::to_string(weekAgo.day) + "\r\n";
    const std::wstring dir = TestDir();
    CheckCleanPcRun(dir, L"bootup", "Freq=0\r\nType=0\r\n" + lastRun);
    const app::TMemIniFile ini(dir + L"Trimdex.ini");
    const app::Date today = app::Today();
    EXPECT_EQ(ini.ReadInteger(L"AutoRun", L"Year", 0), today.year);
    EXPECT_EQ(ini.ReadInteger(L"AutoRun", L"Month", 0), today.month);
    EXPECT_EQ(ini.ReadInteger(L"AutoRun", L"Day", 0), today.day);
}

TEST(Schedule, RemoveTracksBacksUpAndRemovesRunHistory)
{
    std::vector<std::unique_ptr<TKeySnapshot>> snapshots;
    for (const wchar_t* key : kHistoryKeys)
        snapshots.push_back(std::make_unique<TKeySnapshot>(key));
    const std::wstring runMru = kHistoryKeys[0];
    const struct {
        const wchar_t* name;
        const wchar_t* data;
    } values[] = {{L"a", L"tidymate-e2e-one"}, {L"b", L"tidymate-e2e-two"}};
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, runMru.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        for (const auto& v : values)
            RegSetValueExW(key, v.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(v.data),
                           static_cast<DWORD>((wcslen(v.data) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
    }

    const std::wstring dir = TestDir();
    const std::wstring temp = dir + L"temp\\";
    CreateDirectoryW(temp.c_str(), nullptr);
    TEnvironmentGuard tempVariable(L"TEMP", temp);
    TEnvironmentGuard tmpVariable(L"TMP", temp);
    WriteFileBytes(dir + L"Trimdex.ini", Settings("switch=1\r\nType=1\r\n"));
    {
        ProgramProcess program(dir, L"schedule");
        ASSERT_EQ(program.WaitForExit(180000), 0) << "the run should end by itself without a message box";
    }

    const std::wstring backup = platform::FromAnsi(ReadFileBytes(UndoBase(dir) + L".reg"));
    for (const auto& v : values) {
        wchar_t data[64];
        DWORD size = sizeof data;
        EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, runMru.c_str(), v.name, RRF_RT_ANY, nullptr, data, &size),
                  ERROR_SUCCESS)
            << "still there: " << Utf8(v.name);
        const std::wstring line = L"\"" + std::wstring(v.name) + L"\"=\"" + v.data + L"\"";
        EXPECT_NE(backup.find(line), std::wstring::npos) << Utf8(line) << " not in\n" << Utf8(backup);
    }
    EXPECT_NE(backup.find(L"[HKEY_CURRENT_USER\\" + runMru + L"]"), std::wstring::npos) << Utf8(backup);
    EXPECT_FALSE(app::TMemIniFile(dir + L"Trimdex.ini").ReadBool(L"AutoRun", L"switch", true));
}
