#include "removal/shred.h"

#include <windows.h>

#include <array>
#include <vector>

#include "platform/path_util.h"
#include "platform/text.h"

namespace removal {

namespace {

constexpr std::array<std::uint8_t, 3> kOverwritePatterns = {0x00, 0xFF, 0xAA};
constexpr std::array<const wchar_t*, 4> kRenameSequence = {
    L"0000.000", L"u8kw9sla.esl", L"000000000000000000000.0000000000", L"fkaie9ale.esli"};

// The overwrite covers the file in whole blocks of this size.
constexpr ULONGLONG kBlockSize = 1000;
// Blocks go out in chunks of this many per write call: same bytes, far fewer calls.
constexpr ULONGLONG kBlocksPerWrite = 1024;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close()
    {
        if (!IsOpen())
            return true;
        const bool closed = CloseHandle(handle_) != FALSE;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle_;
};

void Pump(const ShredCallbacks& callbacks)
{
    if (callbacks.pump)
        callbacks.pump();
}

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool NameTaken(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Attributes that clearing leaves on a file the overwrite can handle. Anything else that stays
// (sparse, reparse point, offline, ...) means the contents are not plainly where a write goes.
// Wine keeps reporting the archive bit on every file, so it does not count.
bool CanOverwrite(DWORD attributes)
{
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
    return attributes == 0 || attributes == FILE_ATTRIBUTE_NORMAL || attributes == FILE_ATTRIBUTE_COMPRESSED ||
           attributes == FILE_ATTRIBUTE_ENCRYPTED;
}

// A hard-linked file shares its contents with another name: overwriting would wipe that too.
bool HasOtherNames(const std::wstring& path)
{
    FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    return file.IsOpen() && GetFileInformationByHandle(file.Get(), &info) && info.nNumberOfLinks > 1;
}

// Deleting a file that is already gone is not a failure.
bool DeleteOrGone(const std::wstring& path)
{
    if (DeleteFileW(path.c_str()))
        return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

void CountFailure(RemovalCounters& counters)
{
    --counters.ProblemCount;
    ++counters.NotRemovedCount;
}

bool CanOpenForReading(const std::wstring& path)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsOpen();
}

bool WritePass(HANDLE file, const std::vector<std::uint8_t>& buffer, const ShredCallbacks& callbacks)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return false;
    const ULONGLONG blocks = (static_cast<ULONGLONG>(size.QuadPart) + kBlockSize - 1) / kBlockSize;
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        return false;
    ULONGLONG remaining = blocks * kBlockSize;
    while (remaining > 0) {
        const DWORD chunk = static_cast<DWORD>(remaining < buffer.size() ? remaining : buffer.size());
        DWORD written = 0;
        if (!WriteFile(file, buffer.data(), chunk, &written, nullptr) || written != chunk)
            return false;
        remaining -= chunk;
        if (remaining > 0)
            Pump(callbacks);
    }
    return FlushFileBuffers(file) != FALSE;
}

// Three passes over the whole file, each flushed to disk. False on any open, write or close error.
bool Overwrite(const std::wstring& path, const ShredCallbacks& callbacks)
{
    if (!CanOpenForReading(path))
        return false;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.IsOpen())
        return false;
    std::vector<std::uint8_t> buffer;
    for (std::uint8_t pattern : kOverwritePatterns) {
        Pump(callbacks);
        buffer.assign(kBlockSize * kBlocksPerWrite, pattern);
        if (!WritePass(file.Get(), buffer, callbacks))
            return false;
        if (callbacks.passWritten)
            callbacks.passWritten(pattern, path);
    }
    return file.Close();
}

// Walks the file through the rename sequence, never over an existing name; returns its last name.
std::wstring RenameAway(const std::wstring& path)
{
    const std::wstring folder = platform::FolderPart(path);
    std::wstring current = path;
    for (const wchar_t* name : kRenameSequence) {
        const std::wstring candidate = folder + name;
        if (!NameTaken(candidate) && MoveFileExW(current.c_str(), candidate.c_str(), 0))
            current = candidate;
    }
    return current;
}

bool UnloadFont(const std::wstring& fileName)
{
    if (!RemoveFontResourceW(fileName.c_str()))
        return false;
    SendMessageTimeoutW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr);
    return true;
}

// Overwritten and renamed: delete it. An undeletable font file is unloaded and tried again.
// A file that stays counts as not removed, even though its contents are gone.
void DeleteOverwritten(const std::wstring& path, bool font, RemovalCounters& counters, const ShredCallbacks& callbacks)
{
    const std::wstring current = RenameAway(path);
    if (callbacks.beforeDelete)
        callbacks.beforeDelete(current);
    if (DeleteOrGone(current))
        return;
    if (font && UnloadFont(platform::FilePart(current)) && DeleteOrGone(current))
        return;
    CountFailure(counters);
}

bool IsIndexDat(const std::wstring& path) { return platform::Upper(path).find(L"INDEX.DAT") != std::wstring::npos; }

// True when the file is gone now; a locked index.dat may instead wait for the next restart.
bool DeletePlainly(const std::wstring& path, const ShredOptions& options, RemovalCounters& counters)
{
    if (DeleteOrGone(path))
        return true;
    if (IsIndexDat(path) && options.StubbornIndexDat && options.ScanMode == 2 &&
        MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
        counters.IndexDatDeferred = true;
        return false;
    }
    CountFailure(counters);
    return false;
}

}  // namespace

void ShredFile(const std::wstring& path, bool font, const ShredOptions& options, RemovalCounters& counters,
               const ShredCallbacks& callbacks)
{
    if (path.empty() || !FileExists(path))
        return;
    Pump(callbacks);

    const DWORD original = GetFileAttributesW(path.c_str());
    // A file with no mark but the archive bit has nothing to clear (under Wine that saves a
    // server call per file).
    constexpr DWORD kNothingToClear = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NORMAL;
    DWORD attributes = original;
    if (original == INVALID_FILE_ATTRIBUTES || (original & ~kNothingToClear)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        attributes = GetFileAttributesW(path.c_str());
    }
    const bool plain = attributes != INVALID_FILE_ATTRIBUTES &&
                       (!options.UseNoRemainsDeletion || !CanOverwrite(attributes) || HasOtherNames(path));
    bool removed;
    if (plain) {
        removed = DeletePlainly(path, options, counters);
    } else if (attributes != INVALID_FILE_ATTRIBUTES && Overwrite(path, callbacks)) {
        DeleteOverwritten(path, font, counters, callbacks);
        return;
    } else {
        // Its attributes could not be read or it could not be overwritten: delete it as it is.
        removed = DeleteOrGone(path);
        if (!removed)
            CountFailure(counters);
    }
    // A file left untouched keeps its read-only, hidden and system marks.
    if (!removed && original != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(path.c_str(), original);
}

}  // namespace removal
