// A file handle for the zip layer: positioned reads and writes that throw AppError with the
// file's name, flush, truncate. Closes itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

namespace platform::zip {

// Thrown (instead of writing further) when the test write budget runs out: the files are
// left exactly as a killed process would leave them.
struct WriteInterrupted {};

// Test seam: after this many more bytes written through any ZipFileHandle, writing stops
// with WriteInterrupted. nullopt switches it off.
void SetWriteBudgetForTesting(std::optional<uint64_t> bytes);

class ZipFileHandle {
public:
    enum class Mode { Read, Update, CreateNew, CreateAlways };

    // Throws AppError naming the file when it cannot be opened.
    ZipFileHandle(const std::wstring& path, Mode mode);
    ~ZipFileHandle();
    ZipFileHandle(const ZipFileHandle&) = delete;
    ZipFileHandle& operator=(const ZipFileHandle&) = delete;

    uint64_t Size() const;
    // Reads exactly `count` bytes at `offset`; throws when the file ends first.
    void ReadAt(uint64_t offset, void* buffer, size_t count) const;
    std::string ReadAt(uint64_t offset, size_t count) const;
    void WriteAt(uint64_t offset, const void* data, size_t count);
    void WriteAt(uint64_t offset, const std::string& bytes) { WriteAt(offset, bytes.data(), bytes.size()); }
    void Truncate(uint64_t size);
    void Flush();
    void SetLastWriteTime(const FILETIME& time);
    HANDLE Native() const { return handle_; }

private:
    [[noreturn]] void Fail(const wchar_t* what, DWORD error) const;

    std::wstring path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// The system's text for an error code, without the trailing line break.
std::wstring SystemErrorText(DWORD error);

}  // namespace platform::zip
