#include "removal/undo_archive.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <exception>
#include <vector>

#include "platform/text.h"
#include "platform/zip_archive.h"

namespace removal {

namespace {

constexpr std::array<std::uint8_t, 3> kWipePatterns = {0x00, 0xFF, 0xAA};
constexpr DWORD kReadChunk = 64 * 1024;

void Pump(const UndoWriter& writer)
{
    if (writer.pump)
        writer.pump();
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool FileExists(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows refuses to write a read-only file; Wine running as root would not, so ask first.
bool IsReadOnlyFile(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsIndexDat(const std::wstring& path) { return platform::Upper(path).find(L"INDEX.DAT") != std::wstring::npos; }

class ReadHandle {
public:
    ReadHandle(const std::wstring& path, DWORD share)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {
    }
    ~ReadHandle()
    {
        if (IsOpen())
            CloseHandle(handle_);
    }
    ReadHandle(const ReadHandle&) = delete;
    ReadHandle& operator=(const ReadHandle&) = delete;
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// An archive past the limit takes the first free part name; the next add starts a new one.
// A rename that fails leaves the archive to grow on: nothing is lost by that.
void RollOver(const std::wstring& archivePath)
{
    platform::ZipArchive::RecoverInterrupted(archivePath);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(archivePath.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        ((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow) <= kUndoArchiveLimit)
        return;
    int part = 1;
    while (PathExists(ArchivePartPath(archivePath, part)))
        ++part;
    MoveFileExW(archivePath.c_str(), ArchivePartPath(archivePath, part).c_str(), MOVEFILE_WRITE_THROUGH);
}

// What reading the file showed before zipping.
struct SourceCheck {
    bool readable = false;
    bool wiped = false;  // not empty, and every byte is the same overwrite pattern
    uint64_t size = 0;
};

// Reads the file through (stopping at the first byte that breaks the pattern, usually the
// first chunk): only a file that is wiped all through is left out of the archive.
SourceCheck CheckSource(const std::wstring& path)
{
    SourceCheck check;
    const ReadHandle file(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    LARGE_INTEGER size;
    if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &size))
        return check;
    check.readable = true;
    check.size = static_cast<uint64_t>(size.QuadPart);
    std::vector<std::uint8_t> buffer(kReadChunk);
    DWORD read = 0;
    if (!ReadFile(file.Get(), buffer.data(), kReadChunk, &read, nullptr) || read == 0)
        return check;
    const std::uint8_t first = buffer[0];
    if (std::find(kWipePatterns.begin(), kWipePatterns.end(), first) == kWipePatterns.end())
        return check;
    uint64_t total = 0;
    do {
        for (DWORD i = 0; i < read; ++i) {
            if (buffer[i] != first)
                return check;
        }
        total += read;
    } while (ReadFile(file.Get(), buffer.data(), kReadChunk, &read, nullptr) && read > 0);
    check.wiped = total == check.size;
    return check;
}

// Another program holds the file open for writing, so the archive cannot read it steadily.
bool HeldByWriter(const std::wstring& path) { return !ReadHandle(path, FILE_SHARE_READ).IsOpen(); }

enum class Outcome { Archived, Wiped, LockedIndexDat, NotTaken };

Outcome MoveIntoArchive(const std::wstring& path, const std::wstring& archivePath, const UndoWriter& writer)
{
    const SourceCheck source = CheckSource(path);
    if (!source.readable)
        return Outcome::NotTaken;
    if (source.wiped)
        return Outcome::Wiped;
    if (source.size > kLargeFileSize && writer.notice)
        writer.notice(kLargeFileNotice);
    try {
        RollOver(archivePath);
        if (IsReadOnlyFile(archivePath))
            return Outcome::NotTaken;
        platform::ZipArchive(archivePath).Add(path, path, writer.pump);
        return Outcome::Archived;
    } catch (const std::exception&) {
        return IsIndexDat(path) && HeldByWriter(path) ? Outcome::LockedIndexDat : Outcome::NotTaken;
    }
}

}  // namespace

void AddToZip(const std::wstring& path, bool weekly, bool font, const UndoWriter& writer, RemovalCounters& counters)
{
    if (path.empty())
        return;
    Pump(writer);
    if (FileExists(path)) {
        if (MoveIntoArchive(path, writer.place.ArchivePath(weekly), writer) == Outcome::NotTaken) {
            ++counters.NotRemovedCount;
        } else {
            ++counters.ProblemCount;
            ShredCallbacks callbacks;
            callbacks.pump = writer.pump;
            ShredFile(path, font, writer.shred, counters, callbacks);
        }
    }
    Pump(writer);
}

}  // namespace removal
