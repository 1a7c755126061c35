#include "platform/zip_format.h"

#include <algorithm>

#include "platform/text.h"

namespace platform::zip {

namespace {

void Put16(std::string& out, uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, static_cast<uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<uint16_t>(value >> 16));
}

void Put64(std::string& out, uint64_t value)
{
    Put32(out, static_cast<uint32_t>(value & 0xFFFFFFFF));
    Put32(out, static_cast<uint32_t>(value >> 32));
}

uint16_t Get16(const std::string& bytes, size_t at)
{
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

uint32_t Get32(const std::string& bytes, size_t at)
{
    return Get16(bytes, at) | (static_cast<uint32_t>(Get16(bytes, at + 2)) << 16);
}

uint64_t Get64(const std::string& bytes, size_t at)
{
    return Get32(bytes, at) | (static_cast<uint64_t>(Get32(bytes, at + 4)) << 32);
}

}  // namespace

std::string EncodeLocalHeader(const CentralRecord& record)
{
    std::string out;
    Put32(out, kLocalHeaderSignature);
    Put16(out, record.versionNeeded);
    Put16(out, record.flags);
    Put16(out, record.method);
    Put16(out, record.dosTime);
    Put16(out, record.dosDate);
    Put32(out, record.crc);
    Put32(out, record.compressedSize);
    Put32(out, record.size);
    Put16(out, static_cast<uint16_t>(record.rawName.size()));
    Put16(out, 0);
    out += record.rawName;
    return out;
}

std::string EncodeCentralRecord(const CentralRecord& record)
{
    std::string out;
    Put32(out, kCentralHeaderSignature);
    Put16(out, record.versionMadeBy);
    Put16(out, record.versionNeeded);
    Put16(out, record.flags);
    Put16(out, record.method);
    Put16(out, record.dosTime);
    Put16(out, record.dosDate);
    Put32(out, record.crc);
    Put32(out, record.compressedSize);
    Put32(out, record.size);
    Put16(out, static_cast<uint16_t>(record.rawName.size()));
    Put16(out, static_cast<uint16_t>(record.extra.size()));
    Put16(out, static_cast<uint16_t>(record.comment.size()));
    Put16(out, 0);  // disk number
    Put16(out, record.internalAttributes);
    Put32(out, record.externalAttributes);
    Put32(out, record.localHeaderOffset);
    out += record.rawName;
    out += record.extra;
    out += record.comment;
    return out;
}

std::string EncodeEndRecord(uint16_t entryCount, uint32_t directorySize, uint32_t directoryOffset)
{
    std::string out;
    Put32(out, kEndRecordSignature);
    Put16(out, 0);  // this disk
    Put16(out, 0);  // disk with the directory
    Put16(out, entryCount);
    Put16(out, entryCount);
    Put32(out, directorySize);
    Put32(out, directoryOffset);
    Put16(out, 0);  // comment length
    return out;
}

std::optional<LocalHeader> DecodeLocalHeader(const std::string& bytes)
{
    if (bytes.size() < kLocalHeaderSize || Get32(bytes, 0) != kLocalHeaderSignature)
        return std::nullopt;
    LocalHeader header;
    header.flags = Get16(bytes, 6);
    header.method = Get16(bytes, 8);
    header.crc = Get32(bytes, 14);
    header.compressedSize = Get32(bytes, 18);
    header.size = Get32(bytes, 22);
    header.nameLength = Get16(bytes, 26);
    header.extraLength = Get16(bytes, 28);
    return header;
}

std::optional<EndRecord> FindEndRecord(const std::string& tail, uint64_t tailOffset, uint64_t fileSize)
{
    if (tail.size() < kEndRecordSize)
        return std::nullopt;
    for (size_t at = tail.size() - kEndRecordSize + 1; at-- > 0;) {
        if (Get32(tail, at) != kEndRecordSignature)
            continue;
        const uint64_t recordOffset = tailOffset + at;
        if (recordOffset + kEndRecordSize + Get16(tail, at + 20) != fileSize)
            continue;
        if (Get16(tail, at + 4) != 0 || Get16(tail, at + 6) != 0 || Get16(tail, at + 8) != Get16(tail, at + 10))
            continue;  // multi-disk archives are not ours
        EndRecord end;
        end.offset = recordOffset;
        end.entryCount = Get16(tail, at + 10);
        end.directorySize = Get32(tail, at + 12);
        end.directoryOffset = Get32(tail, at + 16);
        return end;
    }
    return std::nullopt;
}

std::optional<std::vector<CentralRecord>> DecodeCentralDirectory(const std::string& bytes, size_t count)
{
    std::vector<CentralRecord> records;
    size_t at = 0;
    for (size_t i = 0; i < count; ++i) {
        if (bytes.size() - at < kCentralHeaderSize || Get32(bytes, at) != kCentralHeaderSignature)
            return std::nullopt;
        CentralRecord record;
        record.versionMadeBy = Get16(bytes, at + 4);
        record.versionNeeded = Get16(bytes, at + 6);
        record.flags = Get16(bytes, at + 8);
        record.method = Get16(bytes, at + 10);
        record.dosTime = Get16(bytes, at + 12);
        record.dosDate = Get16(bytes, at + 14);
        record.crc = Get32(bytes, at + 16);
        record.compressedSize = Get32(bytes, at + 20);
        record.size = Get32(bytes, at + 24);
        const size_t nameLength = Get16(bytes, at + 28);
        const size_t extraLength = Get16(bytes, at + 30);
        const size_t commentLength = Get16(bytes, at + 32);
        record.internalAttributes = Get16(bytes, at + 36);
        record.externalAttributes = Get32(bytes, at + 38);
        record.localHeaderOffset = Get32(bytes, at + 42);
        at += kCentralHeaderSize;
        if (bytes.size() - at < nameLength + extraLength + commentLength)
            return std::nullopt;
        record.rawName = bytes.substr(at, nameLength);
        record.extra = bytes.substr(at + nameLength, extraLength);
        record.comment = bytes.substr(at + nameLength + extraLength, commentLength);
        at += nameLength + extraLength + commentLength;
        records.push_back(std::move(record));
    }
    if (at != bytes.size())
        return std::nullopt;
    return records;
}

std::wstring DecodeName(const CentralRecord& record)
{
    return (record.flags & kFlagUtf8Name) ? FromUtf8(record.rawName) : FromAnsi(record.rawName);
}

std::wstring BackslashPath(const std::wstring& name)
{
    std::wstring path = name;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::string EncodeNtfsTimes(const FILETIME& lastWrite)
{
    const uint64_t time = (static_cast<uint64_t>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime;
    std::string out;
    Put16(out, kNtfsExtraTag);
    Put16(out, 32);
    Put32(out, 0);   // reserved
    Put16(out, 1);   // attribute tag 1: the three file times
    Put16(out, 24);
    Put64(out, time);  // last write
    Put64(out, time);  // last access
    Put64(out, time);  // creation
    return out;
}

std::optional<FILETIME> DecodeNtfsLastWrite(const std::string& extra)
{
    size_t at = 0;
    while (extra.size() - at >= 4) {
        const uint16_t tag = Get16(extra, at);
        const size_t length = Get16(extra, at + 2);
        at += 4;
        if (extra.size() - at < length)
            return std::nullopt;
        if (tag == kNtfsExtraTag && length >= 32 && Get16(extra, at + 4) == 1 && Get16(extra, at + 6) >= 24) {
            const uint64_t time = Get64(extra, at + 8);
            FILETIME result;
            result.dwLowDateTime = static_cast<DWORD>(time & 0xFFFFFFFF);
            result.dwHighDateTime = static_cast<DWORD>(time >> 32);
            return result;
        }
        at += length;
    }
    return std::nullopt;
}

DWORD EntryAttributes(const CentralRecord& record)
{
    const unsigned host = record.versionMadeBy >> 8;
    const bool windowsHost = host == 0 || host == 10 || host == 11 || host == 14;
    if (!windowsHost)
        return 0;
    return record.externalAttributes &
           (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
}

}  // namespace platform::zip
