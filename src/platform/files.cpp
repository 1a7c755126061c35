#include "platform/files.h"

#include "platform/path_util.h"

namespace platform {

namespace {

bool IsDots(const wchar_t* name)
{
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

FileEntry ToEntry(const WIN32_FIND_DATAW& data)
{
    FileEntry entry;
    entry.name = data.cFileName;
    entry.shortName = data.cAlternateFileName;
    if (entry.shortName == entry.name)
        entry.shortName.clear();
    entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.creationTime = data.ftCreationTime;
    entry.lastWriteTime = data.ftLastWriteTime;
    entry.lastAccessTime = data.ftLastAccessTime;
    entry.attributes = data.dwFileAttributes;
    if (entry.IsReparsePoint())
        entry.reparseTag = data.dwReserved0;
    return entry;
}

// "C:" alone means the current folder of drive C:; the callers mean its root.
std::wstring RootSafe(const std::wstring& path)
{
    if (path.size() == 2 && path[1] == L':')
        return path + L'\\';
    return path;
}

}  // namespace

FileEnumerator::FileEnumerator(const std::wstring& pattern)
{
    // FindExInfoStandard, since the short names are wanted; no flags newer than Windows XP.
    find_ = FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &first_, FindExSearchNameMatch, nullptr, 0);
    if (find_ == INVALID_HANDLE_VALUE) {
        error_ = GetLastError();
        return;
    }
    opened_ = true;
    haveFirst_ = true;
}

FileEnumerator::~FileEnumerator()
{
    if (find_ != INVALID_HANDLE_VALUE)
        FindClose(find_);
}

bool FileEnumerator::Fetch(WIN32_FIND_DATAW& data)
{
    if (find_ == INVALID_HANDLE_VALUE)
        return false;
    if (haveFirst_) {
        haveFirst_ = false;
        data = first_;
        return true;
    }
    if (FindNextFileW(find_, &data))
        return true;
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES)
        error_ = error;
    FindClose(find_);
    find_ = INVALID_HANDLE_VALUE;
    return false;
}

bool FileEnumerator::Next(FileEntry& entry)
{
    WIN32_FIND_DATAW data;
    while (Fetch(data)) {
        if (IsDots(data.cFileName))
            continue;
        entry = ToEntry(data);
        return true;
    }
    return false;
}

std::vector<FileEntry> ListDirectory(const std::wstring& pattern)
{
    std::vector<FileEntry> entries;
    FileEnumerator enumerator(pattern);
    FileEntry entry;
    while (enumerator.Next(entry))
        entries.push_back(std::move(entry));
    return entries;
}

std::vector<FileEntry> ListFolder(const std::wstring& folder) { return ListDirectory(CheckPath(folder) + L"*"); }

std::optional<FileEntry> FindEntry(const std::wstring& path)
{
    const std::wstring name = RemoveSlash(path);
    if (name.empty() || name.find_first_of(L"*?") != std::wstring::npos)
        return std::nullopt;
    FileEnumerator enumerator(name);
    FileEntry entry;
    if (!enumerator.Next(entry))
        return std::nullopt;
    return entry;
}

std::optional<DWORD> GetAttributes(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(RootSafe(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return std::nullopt;
    return attributes;
}

bool FileExists(const std::wstring& path)
{
    std::optional<DWORD> attributes = GetAttributes(path);
    return attributes && !(*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path)
{
    std::optional<DWORD> attributes = GetAttributes(path);
    return attributes && (*attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SetAttributes(const std::wstring& path, DWORD attributes)
{
    return SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL) != 0;
}

bool ClearAttributes(const std::wstring& path, DWORD attributes)
{
    std::optional<DWORD> current = GetAttributes(path);
    if (!current)
        return false;
    // SetFileAttributes ignores the folder bit, and FILE_ATTRIBUTE_NORMAL must stand alone.
    DWORD remaining = *current & ~attributes & ~(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_NORMAL);
    return SetAttributes(path, remaining);
}

std::optional<uint64_t> FileSizeOf(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool RemoveFile(const std::wstring& path) { return DeleteFileW(path.c_str()) != 0; }

bool RemoveEmptyFolder(const std::wstring& path) { return RemoveDirectoryW(RemoveSlash(path).c_str()) != 0; }

bool RenamePath(const std::wstring& from, const std::wstring& to)
{
    return MoveFileExW(RemoveSlash(from).c_str(), RemoveSlash(to).c_str(), 0) != 0;
}

bool CreateFolders(const std::wstring& path)
{
    const std::wstring folder = RemoveSlash(path);
    if (folder.empty())
        return false;
    if (FolderExists(folder))
        return true;
    const std::wstring parent = RemoveSlash(FolderPart(folder));
    // Stop at the drive ("C:") or the share ("\\server\share"); those cannot be created.
    if (!parent.empty() && parent != folder && parent.back() != L':' && !FolderExists(parent) &&
        !CreateFolders(parent))
        return false;
    return CreateDirectoryW(folder.c_str(), nullptr) || FolderExists(folder);
}

}  // namespace platform
