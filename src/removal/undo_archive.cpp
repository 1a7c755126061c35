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
SourceCheck CheckSource(const std::wstring& path, std::vector<std::uint8_t>& buffer)
{
    SourceCheck check;
    const ReadHandle file(path, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    LARGE_INTEGER size;
    if (!file.IsOpen() || !GetFileSizeEx(file.Get(), &size))
        return check;
    check.readable = true;
    check.size = static_cast<uint64_t>(size.QuadPart);
    buffer.resize(kReadChunk);
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

}  // namespace

TUndoZipBatch::TUndoZipBatch(UndoWriter writer, RemovalCounters& counters)
    : writer_(std::move(writer)), counters_(counters)
{
}

TUndoZipBatch::~TUndoZipBatch()
{
    try {
        Flush();
    } catch (...) {
        // Files not yet taken stay where they are.
    }
}

void TUndoZipBatch::Add(const std::wstring& path, bool weekly, bool font)
{
    if (path.empty())
        return;
    Pump(writer_);
    // A file found under two categories comes twice; the second time it is as good as gone.
    if (!FileExists(path) || IsPending(path)) {
        Pump(writer_);
        return;
    }
    const SourceCheck source = CheckSource(path, readBuffer_);
    if (!source.readable) {
        ++counters_.NotRemovedCount;
    } else if (source.wiped) {
        Delete({path, weekly, font});
    } else {
        if (!pending_.empty() && pending_.front().weekly != weekly)
            Flush();
        const bool large = source.size > kLargeFileSize;
        if (large) {
            Flush();
            if (writer_.notice)
                writer_.notice(kLargeFileNotice);
        }
        pending_.push_back({path, weekly, font});
        pendingBytes_ += source.size;
        if (large || pending_.size() >= kBatchFiles || pendingBytes_ >= kBatchBytes)
            Flush();
    }
    Pump(writer_);
}

bool TUndoZipBatch::IsPending(const std::wstring& path) const
{
    const std::wstring upper = platform::Upper(path);
    return std::any_of(pending_.begin(), pending_.end(),
                       [&](const Pending& file) { return platform::Upper(file.path) == upper; });
}

void TUndoZipBatch::Flush()
{
    while (!pending_.empty()) {
        const std::wstring archivePath = writer_.place.ArchivePath(pending_.front().weekly);
        std::vector<platform::ZipAddSource> sources;
        for (const Pending& file : pending_)
            sources.push_back({file.path, file.path});
        std::vector<platform::ZipAddOutcome> outcomes;
        try {
            RollOver(archivePath);
            if (!IsReadOnlyFile(archivePath))
                outcomes = platform::ZipArchive(archivePath).AddFiles(sources, writer_.pump, kUndoArchiveLimit);
        } catch (const std::exception&) {
            outcomes.clear();
        }
        // Nothing handled (the archive failed): every waiting file is left out.
        const size_t handled = outcomes.empty() ? pending_.size() : outcomes.size();
        std::vector<Pending> done(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(handled));
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(handled));
        pendingBytes_ = 0;
        for (size_t i = 0; i < done.size(); ++i) {
            const bool added = i < outcomes.size() && outcomes[i].added;
            if (added || (IsIndexDat(done[i].path) && HeldByWriter(done[i].path)))
                Delete(done[i]);
            else
                ++counters_.NotRemovedCount;
        }
    }
}

// The file is in the archive on disk (or holds nothing worth keeping): it counts as cleaned,
// and ShredFile takes that back when the delete fails.
void TUndoZipBatch::Delete(const Pending& file)
{
    ++counters_.ProblemCount;
    ShredCallbacks callbacks;
    callbacks.pump = writer_.pump;
    ShredFile(file.path, file.font, writer_.shred, counters_, callbacks);
}

void AddToZip(const std::wstring& path, bool weekly, bool font, const UndoWriter& writer, RemovalCounters& counters)
{
    TUndoZipBatch batch(writer, counters);
    batch.Add(path, weekly, font);
    batch.Flush();
}

}  // namespace removal
