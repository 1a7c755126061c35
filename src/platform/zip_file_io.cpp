#include "platform/zip_file_io.h"

#include "platform/errors.h"

namespace platform::zip {

namespace {

std::optional<uint64_t> g_writeBudget;

OVERLAPPED At(uint64_t offset)
{
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    overlapped.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return overlapped;
}

}  // namespace

void SetWriteBudgetForTesting(std::optional<uint64_t> bytes) { g_writeBudget = bytes; }

std::wstring SystemErrorText(DWORD error)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : L"错误代码 " + std::to_wstring(error);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return text;
}

ZipFileHandle::ZipFileHandle(const std::wstring& path, Mode mode) : path_(path)
{
    DWORD access = GENERIC_READ | GENERIC_WRITE;
    DWORD share = 0;
    DWORD disposition = OPEN_EXISTING;
    switch (mode) {
    case Mode::Read:
        access = GENERIC_READ;
        share = FILE_SHARE_READ;
        break;
    case Mode::Update:
        break;
    case Mode::CreateNew:
        disposition = CREATE_NEW;
        break;
    case Mode::CreateAlways:
        disposition = CREATE_ALWAYS;
        break;
    }
    handle_ = CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        Fail(mode == Mode::CreateNew || mode == Mode::CreateAlways ? L"无法创建文件" : L"无法打开文件",
             GetLastError());
}

ZipFileHandle::~ZipFileHandle()
{
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
}

void ZipFileHandle::Fail(const wchar_t* what, DWORD error) const
{
    throw AppError(std::wstring(what) + L" \"" + path_ + L"\": " + SystemErrorText(error));
}

uint64_t ZipFileHandle::Size() const
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(handle_, &size))
        Fail(L"无法读取文件", GetLastError());
    return static_cast<uint64_t>(size.QuadPart);
}

void ZipFileHandle::ReadAt(uint64_t offset, void* buffer, size_t count) const
{
    char* out = static_cast<char*>(buffer);
    while (count > 0) {
        OVERLAPPED overlapped = At(offset);
        const DWORD chunk = static_cast<DWORD>(count < 0x100000 ? count : 0x100000);
        DWORD got = 0;
        if (!ReadFile(handle_, out, chunk, &got, &overlapped)) {
            const DWORD error = GetLastError();
            if (error != ERROR_HANDLE_EOF)
                Fail(L"无法读取文件", error);
        }
        if (got == 0)
            throw AppError(L"文件 \"" + path_ + L"\" 提前结束, 可能已被截断");
        out += got;
        offset += got;
        count -= got;
    }
}

std::string ZipFileHandle::ReadAt(uint64_t offset, size_t count) const
{
    std::string bytes(count, '\0');
    ReadAt(offset, bytes.data(), count);
    return bytes;
}

void ZipFileHandle::WriteAt(uint64_t offset, const void* data, size_t count)
{
    bool interrupt = false;
    if (g_writeBudget) {
        if (*g_writeBudget < count) {
            count = static_cast<size_t>(*g_writeBudget);
            interrupt = true;
        }
        *g_writeBudget -= count;
    }
    const char* in = static_cast<const char*>(data);
    while (count > 0) {
        OVERLAPPED overlapped = At(offset);
        const DWORD chunk = static_cast<DWORD>(count < 0x100000 ? count : 0x100000);
        DWORD written = 0;
        if (!WriteFile(handle_, in, chunk, &written, &overlapped))
            Fail(L"无法写入文件", GetLastError());
        if (written == 0)
            Fail(L"无法写入文件", ERROR_DISK_FULL);
        in += written;
        offset += written;
        count -= written;
    }
    if (interrupt)
        throw WriteInterrupted{};
}

void ZipFileHandle::Truncate(uint64_t size)
{
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(handle_, position, nullptr, FILE_BEGIN) || !SetEndOfFile(handle_))
        Fail(L"无法写入文件", GetLastError());
}

void ZipFileHandle::Flush()
{
    if (!FlushFileBuffers(handle_))
        Fail(L"无法写入文件", GetLastError());
}

void ZipFileHandle::SetLastWriteTime(const FILETIME& time)
{
    if (!SetFileTime(handle_, nullptr, nullptr, &time))
        Fail(L"无法写入文件", GetLastError());
}

}  // namespace platform::zip
