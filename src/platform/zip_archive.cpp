#include "platform/zip_archive.h"

#include <algorithm>
#include <optional>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/zip_directory.h"
#include "platform/zip_journal.h"

namespace platform {

using namespace zip;

namespace {

constexpr uint64_t kLargestOffset = 0xFFFFFFFEull;
constexpr size_t kMostEntries = 0xFFFF;

void ToDosTime(const FILETIME& utc, uint16_t& date, uint16_t& time)
{
    FILETIME local;
    WORD dosDate = 0;
    WORD dosTime = 0;
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &dosDate, &dosTime)) {
        dosDate = (1 << 5) | 1;  // 1980-01-01, the earliest DOS date
        dosTime = 0;
    }
    date = dosDate;
    time = dosTime;
}

FILETIME FromDosTime(uint16_t date, uint16_t time)
{
    FILETIME local{};
    FILETIME utc{};
    if (DosDateTimeToFileTime(date, time, &local))
        LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

ZipEntryInfo ToEntryInfo(const CentralRecord& record)
{
    ZipEntryInfo info;
    info.name = DecodeName(record);
    info.size = record.size;
    info.compressedSize = record.compressedSize;
    info.crc = record.crc;
    info.dosDate = record.dosDate;
    info.dosTime = record.dosTime;
    info.lastWrite = DecodeNtfsLastWrite(record.extra).value_or(FromDosTime(record.dosDate, record.dosTime));
    info.attributes = EntryAttributes(record);
    return info;
}

std::string StoredName(const std::wstring& entryName)
{
    std::wstring name = entryName;
    for (wchar_t& c : name) {
        if (c == L'\\')
            c = L'/';
    }
    std::string raw = ToUtf8(name);
    if (raw.empty() || raw.size() > 0xFFFF)
        throw AppError(L"压缩项目名称无效: \"" + entryName + L"\"");
    return raw;
}

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveStaleTemporaries(const std::wstring& archivePath)
{
    const std::wstring folder = archivePath.substr(0, archivePath.find_last_of(L"\\/:") + 1);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((archivePath + L".tmp-*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        DeleteFileW((folder + data.cFileName).c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

// The new entry of an add, written where the old central directory began.
struct PendingEntry {
    CentralRecord record;
    uint64_t offset = 0;
};

void WriteEntry(ZipFileHandle& archive, const ZipFileHandle& source, const BY_HANDLE_FILE_INFORMATION& info,
                uint64_t sourceSize, PendingEntry& entry, Compressor& compressor, const std::function<void()>& pump)
{
    CentralRecord& record = entry.record;
    const std::string header = EncodeLocalHeader(record);
    archive.WriteAt(entry.offset, header);
    if (sourceSize > 0) {
        const StreamResult result =
            compressor.DeflateInto(source, sourceSize, archive, entry.offset + header.size(), pump);
        if (result.compressedSize > kLargestOffset)
            throw AppError(L"文件太大, 无法放入 ZIP 文件");
        record.crc = result.crc;
        record.compressedSize = static_cast<uint32_t>(result.compressedSize);
        record.size = static_cast<uint32_t>(result.size);
    } else {
        record.method = kMethodStored;
    }
    archive.WriteAt(entry.offset, EncodeLocalHeader(record));
    record.externalAttributes = info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                         FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    record.extra = EncodeNtfsTimes(info.ftLastWriteTime);
    record.localHeaderOffset = static_cast<uint32_t>(entry.offset);
}

}  // namespace

std::wstring ZipEntryInfo::Path() const { return zip::BackslashPath(name); }

bool ZipArchive::RecoverInterrupted(const std::wstring& path)
{
    const bool rolledBack = RollBackFromJournal(path);
    RemoveStaleTemporaries(path);
    return rolledBack;
}

bool ZipArchive::Exists() const
{
    RecoverInterrupted(path_);
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

uint64_t ZipArchive::Size() const
{
    RecoverInterrupted(path_);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<ZipEntryInfo> ZipArchive::Entries() const
{
    RecoverInterrupted(path_);
    const ZipFileHandle archive(path_, ZipFileHandle::Mode::Read);
    std::vector<ZipEntryInfo> entries;
    for (const CentralRecord& record : ReadDirectory(archive, path_).records)
        entries.push_back(ToEntryInfo(record));
    return entries;
}

void ZipArchive::Add(const std::wstring& sourcePath, const std::wstring& entryName,
                     const std::function<void()>& pump)
{
    const std::vector<ZipAddOutcome> outcomes = AddFiles({{sourcePath, entryName}}, pump);
    if (!outcomes.front().added)
        throw AppError(outcomes.front().error);
}

namespace {

// One source of AddFiles written at `entry.offset`; throws AppError when the source cannot be
// read or does not fit.
void AddOne(ZipFileHandle& archive, const std::wstring& archivePath, const ZipAddSource& source,
            uint64_t directoryBytes, PendingEntry& entry, Compressor& compressor, const std::function<void()>& pump)
{
    const ZipFileHandle file(source.sourcePath, ZipFileHandle::Mode::Read);
    // Size, time and marks asked one by one: GetFileInformationByHandle also asks for the
    // volume, which costs Wine about a millisecond per file.
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER size;
    info.dwFileAttributes = GetFileAttributesW(source.sourcePath.c_str());
    if (!GetFileSizeEx(file.Native(), &size) || !GetFileTime(file.Native(), nullptr, nullptr, &info.ftLastWriteTime) ||
        info.dwFileAttributes == INVALID_FILE_ATTRIBUTES)
        throw AppError(L"无法读取文件 \"" + source.sourcePath + L"\": " + SystemErrorText(GetLastError()));
    const uint64_t sourceSize = static_cast<uint64_t>(size.QuadPart);
    ToDosTime(info.ftLastWriteTime, entry.record.dosDate, entry.record.dosTime);
    const uint64_t worstEnd = entry.offset + kLocalHeaderSize + entry.record.rawName.size() + sourceSize +
                              sourceSize / 1000 + kChunkSize + directoryBytes + kCentralHeaderSize +
                              entry.record.rawName.size() + 64 + kEndRecordSize;
    if (sourceSize > kLargestOffset || worstEnd > kLargestOffset)
        throw AppError(L"文件 \"" + source.sourcePath + L"\" 太大, 无法放入 ZIP 文件 \"" + archivePath + L"\" (上限 4 GB)");
    WriteEntry(archive, file, info, sourceSize, entry, compressor, pump);
}

}  // namespace

std::vector<ZipAddOutcome> ZipArchive::AddFiles(const std::vector<ZipAddSource>& sources,
                                                const std::function<void()>& pump, uint64_t stopPast)
{
    RecoverInterrupted(path_);
    std::vector<ZipAddOutcome> outcomes;
    if (sources.empty())
        return outcomes;

    const bool created = !PathExists(path_);
    std::optional<ZipFileHandle> archive;
    Directory directory;
    std::string oldTail;
    if (!created) {
        archive.emplace(path_, ZipFileHandle::Mode::Update);
        directory = ReadDirectory(*archive, path_);
        oldTail = archive->ReadAt(directory.offset, static_cast<size_t>(archive->Size() - directory.offset));
    }

    WriteJournal(path_, JournalState{created, directory.offset, oldTail});
    try {
        if (created)
            archive.emplace(path_, ZipFileHandle::Mode::CreateNew);
        Compressor compressor;
        std::string newDirectory = directory.bytes;
        size_t entryCount = directory.records.size();
        uint64_t end = directory.offset;  // where the next entry goes
        for (const ZipAddSource& source : sources) {
            if (!outcomes.empty() && end + newDirectory.size() + kEndRecordSize > stopPast)
                break;
            ZipAddOutcome& outcome = outcomes.emplace_back();
            PendingEntry entry;
            entry.offset = end;
            try {
                entry.record.rawName = StoredName(source.entryName);
                entry.record.flags = kFlagUtf8Name;
                if (entryCount >= kMostEntries)
                    throw AppError(L"压缩文件 \"" + path_ + L"\" 已满 (65535 个项目)");
                AddOne(*archive, path_, source, newDirectory.size(), entry, compressor, pump);
            } catch (const AppError& error) {
                // The next entry is written over whatever this one left.
                outcome.error = error.message();
                continue;
            }
            const std::string record = EncodeCentralRecord(entry.record);
            const uint64_t entryEnd = entry.offset + kLocalHeaderSize + entry.record.rawName.size() +
                                      entry.record.compressedSize;
            if (entryEnd + newDirectory.size() + record.size() + kEndRecordSize > kLargestOffset) {
                outcome.error = L"压缩文件 \"" + path_ + L"\" 将超过 4 GB";
                continue;
            }
            newDirectory += record;
            ++entryCount;
            end = entryEnd;
            outcome.added = true;
        }
        if (entryCount == directory.records.size()) {
            // Nothing taken: the archive goes back to what it was (or away, when new).
            archive.reset();
            RollBackFromJournal(path_);
            return outcomes;
        }
        archive->WriteAt(end, newDirectory + EncodeEndRecord(static_cast<uint16_t>(entryCount),
                                                             static_cast<uint32_t>(newDirectory.size()),
                                                             static_cast<uint32_t>(end)));
        archive->Truncate(end + newDirectory.size() + kEndRecordSize);
        archive->Flush();
        archive.reset();
        RemoveJournal(path_);
    } catch (const WriteInterrupted&) {
        throw;
    } catch (...) {
        archive.reset();
        try {
            RollBackFromJournal(path_);
        } catch (const AppError&) {
            // The journal stays; the next open of the archive rolls back.
        }
        throw;
    }
    return outcomes;
}

size_t ZipArchive::Delete(const std::vector<std::wstring>& names)
{
    RecoverInterrupted(path_);
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        throw AppError(L"压缩文件 \"" + path_ + L"\" 是只读的, 无法删除其中的项目");
    std::vector<std::wstring> wanted;
    for (const std::wstring& name : names)
        wanted.push_back(BackslashPath(name));

    const std::wstring tempPath =
        path_ + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
    size_t removed = 0;
    {
        const ZipFileHandle archive(path_, ZipFileHandle::Mode::Read);
        const Directory directory = ReadDirectory(archive, path_);
        std::vector<CentralRecord> kept;
        for (const CentralRecord& record : directory.records) {
            const std::wstring path = BackslashPath(DecodeName(record));
            const bool remove =
                std::any_of(wanted.begin(), wanted.end(), [&](const std::wstring& w) { return SameText(w, path); });
            if (remove)
                ++removed;
            else
                kept.push_back(record);
        }
        if (removed == 0)
            return 0;
        try {
            ZipFileHandle out(tempPath, ZipFileHandle::Mode::CreateAlways);
            uint64_t offset = 0;
            std::string newDirectory;
            std::vector<char> buffer(kChunkSize);
            for (CentralRecord& record : kept) {
                const EntrySpan span = LocateEntry(archive, record, directory.offset, path_);
                for (uint64_t at = record.localHeaderOffset; at < span.end;) {
                    const size_t n = static_cast<size_t>(std::min<uint64_t>(buffer.size(), span.end - at));
                    archive.ReadAt(at, buffer.data(), n);
                    out.WriteAt(offset + (at - record.localHeaderOffset), buffer.data(), n);
                    at += n;
                }
                const uint64_t length = span.end - record.localHeaderOffset;
                record.localHeaderOffset = static_cast<uint32_t>(offset);
                offset += length;
                newDirectory += EncodeCentralRecord(record);
            }
            out.WriteAt(offset, newDirectory + EncodeEndRecord(static_cast<uint16_t>(kept.size()),
                                                               static_cast<uint32_t>(newDirectory.size()),
                                                               static_cast<uint32_t>(offset)));
            out.Flush();
        } catch (...) {
            DeleteFileW(tempPath.c_str());
            throw;
        }
    }
    if (!MoveFileExW(tempPath.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(tempPath.c_str());
        throw AppError(L"无法更新压缩文件 \"" + path_ + L"\": " + SystemErrorText(error));
    }
    return removed;
}

}  // namespace platform
