#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>

#include "platform/files.h"
#include "platform/path_util.h"
#include "support/test_support.h"

using namespace platform;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::Wide;
using testing_support::WriteFileBytes;

namespace {

std::map<std::wstring, FileEntry> ByName(const std::vector<FileEntry>& entries)
{
    std::map<std::wstring, FileEntry> map;
    for (const FileEntry& entry : entries)
        map[entry.name] = entry;
    return map;
}

// The 8.3 name the system gives this path, or "" when it has none of its own.
std::wstring SystemShortName(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH];
    DWORD length = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return L"?";
    std::wstring name = FilePart(buffer);
    return name == FilePart(path) ? L"" : name;
}

FILETIME MakeFileTime(WORD year, WORD month, WORD day)
{
    SYSTEMTIME st{};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = 4;
    st.wMinute = 5;
    st.wSecond = 6;
    FILETIME ft{};
    SystemTimeToFileTime(&st, &ft);
    return ft;
}

bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

}  // namespace

TEST(Files, ListsLongAndShortNamesSizesTimesAndAttributes)
{
    const std::wstring dir = TestDir();
    const std::wstring chinese = Wide("长文件名称的测试文件.txt");
    WriteFileBytes(dir + chinese, "hello");
    WriteFileBytes(dir + L"averylongname.html", "");
    WriteFileBytes(dir + L"SHORT.TXT", "12");
    WriteFileBytes(dir + L"hidden.sys", "x");
    ASSERT_TRUE(SetFileAttributesW((dir + L"hidden.sys").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(CreateDirectoryW((dir + L"Long Folder Name").c_str(), nullptr));

    const FILETIME written = MakeFileTime(2001, 2, 3);
    const FILETIME accessed = MakeFileTime(1998, 12, 30);
    HANDLE file = CreateFileW((dir + L"SHORT.TXT").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(SetFileTime(file, nullptr, &accessed, &written));
    CloseHandle(file);

    const std::vector<FileEntry> entries = ListFolder(dir);
    const auto byName = ByName(entries);
    ASSERT_EQ(entries.size(), 5u);
    ASSERT_EQ(byName.size(), 5u);

    struct Case {
        std::wstring name;
        uint64_t size;
        bool folder;
        DWORD attributes;  // bits that must be set
    } cases[] = {
        {chinese, 5, false, 0},
        {L"averylongname.html", 0, false, 0},
        {L"SHORT.TXT", 2, false, 0},
        {L"hidden.sys", 1, false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {L"Long Folder Name", 0, true, FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.name));
        auto found = byName.find(c.name);
        ASSERT_NE(found, byName.end());
        const FileEntry& entry = found->second;
        EXPECT_EQ(entry.shortName, SystemShortName(dir + c.name));
        EXPECT_EQ(entry.ShortOrLongName(), entry.shortName.empty() ? c.name : entry.shortName);
        if (!c.folder) {
            EXPECT_EQ(entry.size, c.size);
        }
        EXPECT_EQ(entry.IsFolder(), c.folder);
        EXPECT_EQ(entry.IsFile(), !c.folder);
        EXPECT_EQ(entry.attributes & c.attributes, c.attributes);
        EXPECT_FALSE(entry.IsReparsePoint());
    }
    // Names longer than 8.3 have a short name of their own; SHORT.TXT has none.
    EXPECT_FALSE(byName.at(chinese).shortName.empty());
    EXPECT_FALSE(byName.at(L"Long Folder Name").shortName.empty());
    EXPECT_TRUE(byName.at(L"SHORT.TXT").shortName.empty());

    const FileEntry& dated = byName.at(L"SHORT.TXT");
    EXPECT_TRUE(SameTime(dated.lastWriteTime, written));
    EXPECT_TRUE(SameTime(dated.lastAccessTime, accessed));
    EXPECT_NE(dated.creationTime.dwHighDateTime, 0u);
}

TEST(Files, PatternsMissingAndEmptyFolders)
{
    const std::wstring dir = TestDir();
    WriteFileBytes(dir + L"a.tmp", "1");
    WriteFileBytes(dir + L"b.TMP", "2");
    WriteFileBytes(dir + L"c.txt", "3");
    ASSERT_TRUE(CreateDirectoryW((dir + L"empty").c_str(), nullptr));

    std::vector<std::wstring> names;
    for (const FileEntry& entry : ListDirectory(dir + L"*.tmp"))
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a.tmp", L"b.TMP"}));

    // An empty folder opens (it has "." and "..") but lists nothing.
    FileEnumerator empty(dir + L"empty\\*");
    FileEntry entry;
    EXPECT_TRUE(empty.Opened());
    EXPECT_FALSE(empty.Next(entry));
    EXPECT_EQ(empty.Error(), static_cast<DWORD>(ERROR_SUCCESS));

    // Missing folders and unmatched patterns list nothing and say why.
    for (const std::wstring& pattern : {dir + L"missing\\*", dir + L"*.none", std::wstring(L"Q:\\*")}) {
        SCOPED_TRACE(Utf8(pattern));
        FileEnumerator missing(pattern);
        EXPECT_FALSE(missing.Opened());
        EXPECT_FALSE(missing.Next(entry));
        EXPECT_NE(missing.Error(), static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_TRUE(ListDirectory(pattern).empty());
    }
    EXPECT_TRUE(ListFolder(dir + L"missing\\").empty());

    std::optional<FileEntry> found = FindEntry(dir + L"c.txt");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->name, L"c.txt");
    EXPECT_EQ(found->size, 1u);
    ASSERT_TRUE(FindEntry(dir + L"empty\\").has_value());
    EXPECT_TRUE(FindEntry(dir + L"empty\\")->IsFolder());
    EXPECT_FALSE(FindEntry(dir + L"*.tmp").has_value());
    EXPECT_FALSE(FindEntry(dir + L"missing.txt").has_value());
}

TEST(Files, SizesBeyondFourGigabytes)
{
    const std::wstring path = TestDir() + L"big.bin";
    const uint64_t size = 5ull * 1024 * 1024 * 1024 + 3;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    // A sparse file on Linux: no disk space is used.
    const bool grown = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    ASSERT_TRUE(grown);
    const std::optional<FileEntry> entry = FindEntry(path);
    const std::optional<uint64_t> bytes = FileSizeOf(path);
    RemoveFile(path);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->size, size);
    EXPECT_EQ(bytes, size);
}

TEST(Files, ReparsePointsAreRecognisable)
{
    const std::wstring dir = TestDir();
    ASSERT_TRUE(CreateDirectoryW((dir + L"target").c_str(), nullptr));
    std::wstring parent = dir;
    std::wstring linkName = L"link";
    std::wstring targetName = L"target";
    // Windows makes links itself (with the privilege); Wine 8 cannot, so the prefix carries one.
    CreateSymbolicLinkW((dir + linkName).c_str(), (dir + targetName).c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    if (!FolderExists(dir + linkName)) {
        parent = L"C:\\tidymate-fixtures\\";
        linkName = L"folder-link";
        targetName = L"link-target";
    }
    if (!FolderExists(parent + linkName))
        GTEST_SKIP() << "no folder link: CreateSymbolicLinkW failed and the prefix has no C:\\tidymate-fixtures\\folder-link";

    const auto byName = ByName(ListFolder(parent));
    ASSERT_TRUE(byName.count(linkName));
    ASSERT_TRUE(byName.count(targetName));
    EXPECT_TRUE(byName.at(linkName).IsFolder());
    EXPECT_TRUE(byName.at(linkName).IsReparsePoint());
    EXPECT_EQ(byName.at(linkName).attributes & FILE_ATTRIBUTE_REPARSE_POINT,
              static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT));
    EXPECT_TRUE(byName.at(targetName).IsFolder());
    EXPECT_FALSE(byName.at(targetName).IsReparsePoint());
}

TEST(Files, ExistsAttributesDeleteRenameAndCreate)
{
    const std::wstring dir = TestDir();
    const std::wstring file = dir + Wide("文件.txt");
    WriteFileBytes(file, "abc");
    ASSERT_TRUE(CreateDirectoryW((dir + L"sub").c_str(), nullptr));

    struct Case {
        std::wstring path;
        bool file;
        bool folder;
    } cases[] = {
        {file, true, false},     {dir + L"sub", false, true}, {dir + L"sub\\", false, true},
        {dir + L"nope", false, false}, {L"C:\\", false, true}, {L"C:", false, true},
        {L"Q:\\", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.file) << Utf8(c.path);
        EXPECT_EQ(FolderExists(c.path), c.folder) << Utf8(c.path);
    }
    EXPECT_EQ(FileSizeOf(file), 3u);
    EXPECT_FALSE(FileSizeOf(dir + L"sub").has_value());
    EXPECT_FALSE(FileSizeOf(dir + L"nope").has_value());

    // A read-only, hidden file cannot be deleted until its attributes are cleared.
    ASSERT_TRUE(SetAttributes(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(GetAttributes(file).value_or(0) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(RemoveFile(file));
    EXPECT_TRUE(FileExists(file));
    ASSERT_TRUE(ClearAttributes(file));
    EXPECT_EQ(GetAttributes(file).value_or(FILE_ATTRIBUTE_READONLY) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              0u);
    EXPECT_FALSE(ClearAttributes(dir + L"nope"));

    // Rename never replaces an existing target.
    const std::wstring renamed = dir + Wide("改名.txt");
    WriteFileBytes(dir + L"other.txt", "keep");
    EXPECT_FALSE(RenamePath(file, dir + L"other.txt"));
    EXPECT_EQ(testing_support::ReadFileBytes(dir + L"other.txt"), "keep");
    EXPECT_TRUE(RenamePath(file, renamed));
    EXPECT_FALSE(FileExists(file));
    EXPECT_TRUE(FileExists(renamed));
    EXPECT_TRUE(RemoveFile(renamed));
    EXPECT_FALSE(RemoveFile(renamed));

    // Folders: removed only when empty; created with their parents.
    WriteFileBytes(dir + L"sub\\inner.txt", "x");
    EXPECT_FALSE(RemoveEmptyFolder(dir + L"sub\\"));
    EXPECT_TRUE(RemoveFile(dir + L"sub\\inner.txt"));
    EXPECT_TRUE(RemoveEmptyFolder(dir + L"sub\\"));
    EXPECT_FALSE(FolderExists(dir + L"sub"));

    const std::wstring deep = dir + Wide("一\\二 层\\three\\");
    EXPECT_TRUE(CreateFolders(deep));
    EXPECT_TRUE(FolderExists(deep));
    EXPECT_TRUE(CreateFolders(deep));
    EXPECT_FALSE(CreateFolders(dir + L"other.txt\\below"));
    EXPECT_FALSE(CreateFolders(dir + L"other.txt"));
}
