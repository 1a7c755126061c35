// Directory listing and single-file operations over the Win32 file API.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// One directory entry as the listing reports it.
struct FileEntry {
    std::wstring name;       // long name
    std::wstring shortName;  // 8.3 name; empty when the entry has none of its own
    uint64_t size = 0;
    FILETIME creationTime{};
    FILETIME lastWriteTime{};
    FILETIME lastAccessTime{};
    DWORD attributes = 0;
    DWORD reparseTag = 0;  // meaningful only for reparse points

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsFile() const { return !IsFolder(); }
    // Junctions, symbolic links and Wine's links to folders: a walk never follows these.
    bool IsReparsePoint() const { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }
    // The short name when there is one, otherwise the long name.
    const std::wstring& ShortOrLongName() const { return shortName.empty() ? name : shortName; }
};

// Lists the entries that match a pattern such as "C:\Temp\*" or "C:\Temp\*.tmp", entries of
// every attribute, skipping "." and "..". Never throws on file-system errors: a missing or
// unreadable folder simply yields nothing (see Error()).
class FileEnumerator {
public:
    explicit FileEnumerator(const std::wstring& pattern);
    ~FileEnumerator();
    FileEnumerator(const FileEnumerator&) = delete;
    FileEnumerator& operator=(const FileEnumerator&) = delete;

    // The next entry; false at the end of the listing.
    bool Next(FileEntry& entry);
    // True when the listing found anything at all, "." and ".." included.
    bool Opened() const { return opened_; }
    // ERROR_SUCCESS, ERROR_FILE_NOT_FOUND (nothing matched), ERROR_PATH_NOT_FOUND,
    // ERROR_ACCESS_DENIED, ... as reported when the listing was opened or ended early.
    DWORD Error() const { return error_; }

private:
    bool Fetch(WIN32_FIND_DATAW& data);

    HANDLE find_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW first_{};
    bool haveFirst_ = false;
    bool opened_ = false;
    DWORD error_ = ERROR_SUCCESS;
};

// All entries that match the pattern ("." and ".." left out); empty when nothing matched or
// the folder cannot be read.
std::vector<FileEntry> ListDirectory(const std::wstring& pattern);
// All entries of one folder (with or without a trailing backslash).
std::vector<FileEntry> ListFolder(const std::wstring& folder);
// The entry that names exactly this path (its long and short names, size, times).
std::optional<FileEntry> FindEntry(const std::wstring& path);

// True when the path names a file (not a folder).
bool FileExists(const std::wstring& path);
// True when the path names a folder; a trailing backslash is allowed ("C:\" too).
bool FolderExists(const std::wstring& path);

std::optional<DWORD> GetAttributes(const std::wstring& path);
bool SetAttributes(const std::wstring& path, DWORD attributes);
// Clears the given attributes (read-only, hidden and system by default).
bool ClearAttributes(const std::wstring& path,
                     DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
std::optional<uint64_t> FileSizeOf(const std::wstring& path);

bool RemoveFile(const std::wstring& path);
// Removes a folder only when it is empty.
bool RemoveEmptyFolder(const std::wstring& path);
// Renames or moves a file or folder; fails when the target exists.
bool RenamePath(const std::wstring& from, const std::wstring& to);
// Creates the folder and any missing parents; true when it exists afterwards.
bool CreateFolders(const std::wstring& path);

}  // namespace platform
