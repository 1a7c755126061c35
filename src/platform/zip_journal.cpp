#include "platform/zip_journal.h"

#include <windows.h>
#include <zlib.h>

#include "platform/errors.h"
#include "platform/zip_file_io.h"

namespace platform::zip {

namespace {

// Layout: magic, created flag (1 byte), offset (8), tail length (8), tail, CRC-32 of all before it.
constexpr char kMagic[8] = {'T', 'M', 'Z', 'J', 'R', 'N', 'L', '1'};
constexpr size_t kHeaderSize = sizeof kMagic + 1 + 8 + 8;

void Put64(std::string& out, uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint64_t Get64(const std::string& bytes, size_t at)
{
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

uint32_t Checksum(const std::string& bytes, size_t count)
{
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<uInt>(count)));
}

// The journal's state; nullopt when the journal is incomplete or damaged.
std::optional<JournalState> Decode(const std::string& bytes)
{
    if (bytes.size() < kHeaderSize + 4 || bytes.compare(0, sizeof kMagic, kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    const uint64_t tailLength = Get64(bytes, sizeof kMagic + 9);
    if (tailLength != bytes.size() - kHeaderSize - 4)
        return std::nullopt;
    const size_t checked = bytes.size() - 4;
    uint32_t stored = 0;
    for (int i = 3; i >= 0; --i)
        stored = (stored << 8) | static_cast<uint8_t>(bytes[checked + i]);
    if (stored != Checksum(bytes, checked))
        return std::nullopt;
    JournalState state;
    state.created = bytes[sizeof kMagic] != 0;
    state.offset = Get64(bytes, sizeof kMagic + 1);
    state.tail = bytes.substr(kHeaderSize, static_cast<size_t>(tailLength));
    return state;
}

void Restore(const std::wstring& archivePath, const JournalState& state)
{
    if (state.created) {
        if (!DeleteFileW(archivePath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
            throw AppError(L"无法恢复被中断的压缩文件 \"" + archivePath + L"\": " + SystemErrorText(GetLastError()));
        return;
    }
    ZipFileHandle archive(archivePath, ZipFileHandle::Mode::Update);
    archive.WriteAt(state.offset, state.tail);
    archive.Truncate(state.offset + state.tail.size());
    archive.Flush();
}

}  // namespace

std::wstring JournalPath(const std::wstring& archivePath) { return archivePath + L".journal"; }

void WriteJournal(const std::wstring& archivePath, const JournalState& state)
{
    std::string bytes(kMagic, sizeof kMagic);
    bytes += static_cast<char>(state.created ? 1 : 0);
    Put64(bytes, state.offset);
    Put64(bytes, state.tail.size());
    bytes += state.tail;
    const uint32_t crc = Checksum(bytes, bytes.size());
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((crc >> (8 * i)) & 0xFF);
    ZipFileHandle journal(JournalPath(archivePath), ZipFileHandle::Mode::CreateAlways);
    journal.WriteAt(0, bytes);
    journal.Flush();
}

bool RollBackFromJournal(const std::wstring& archivePath)
{
    const std::wstring journalPath = JournalPath(archivePath);
    if (GetFileAttributesW(journalPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    std::string bytes;
    {
        ZipFileHandle journal(journalPath, ZipFileHandle::Mode::Read);
        const uint64_t size = journal.Size();
        if (size < (1u << 30))
            bytes = journal.ReadAt(0, static_cast<size_t>(size));
    }
    if (const std::optional<JournalState> state = Decode(bytes))
        Restore(archivePath, *state);
    RemoveJournal(archivePath);
    return true;
}

void RemoveJournal(const std::wstring& archivePath)
{
    const std::wstring journalPath = JournalPath(archivePath);
    SetFileAttributesW(journalPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileW(journalPath.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        throw AppError(L"无法删除日志文件 \"" + journalPath + L"\": " + SystemErrorText(GetLastError()));
}

}  // namespace platform::zip
