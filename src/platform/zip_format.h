// Byte layout of zip records (PKWARE APPNOTE): local headers, central directory entries
// and the end record. Pure functions on bytes; no file access.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace platform::zip {

constexpr uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr uint32_t kEndRecordSignature = 0x06054b50;
constexpr uint32_t kDataDescriptorSignature = 0x08074b50;

constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kMaxCommentSize = 0xFFFF;

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kFlagUtf8Name = 0x0800;

constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;

// "Version made by": zip 2.0 on MS-DOS/Windows, so the low byte of the external
// attributes holds the Windows file attributes.
constexpr uint16_t kVersionMadeBy = 20;
constexpr uint16_t kVersionNeeded = 20;

// Extra field of NTFS times (tag 0x000A): exact last-write time besides the DOS time.
constexpr uint16_t kNtfsExtraTag = 0x000A;

// One entry of the central directory, as stored.
struct CentralRecord {
    uint16_t versionMadeBy = kVersionMadeBy;
    uint16_t versionNeeded = kVersionNeeded;
    uint16_t flags = 0;
    uint16_t method = kMethodDeflated;
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t size = 0;
    uint16_t internalAttributes = 0;
    uint32_t externalAttributes = 0;
    uint32_t localHeaderOffset = 0;
    std::string rawName;
    std::string extra;
    std::string comment;
};

struct EndRecord {
    uint64_t offset = 0;  // where the end record starts in the file
    uint16_t entryCount = 0;
    uint32_t directorySize = 0;
    uint32_t directoryOffset = 0;
};

// The fixed part of a local header.
struct LocalHeader {
    uint16_t flags = 0;
    uint16_t method = 0;
    uint32_t crc = 0;
    uint32_t compressedSize = 0;
    uint32_t size = 0;
    uint16_t nameLength = 0;
    uint16_t extraLength = 0;
};

// A local header for the record (its name, no extra field).
std::string EncodeLocalHeader(const CentralRecord& record);
std::string EncodeCentralRecord(const CentralRecord& record);
std::string EncodeEndRecord(uint16_t entryCount, uint32_t directorySize, uint32_t directoryOffset);

// Parses the 30 fixed bytes of a local header; nullopt when the signature is wrong.
std::optional<LocalHeader> DecodeLocalHeader(const std::string& bytes);

// Looks for the end record in the last bytes of a file (`tail` starts at `tailOffset`, the
// file is `fileSize` long). The record's comment must reach exactly to the end of the file.
std::optional<EndRecord> FindEndRecord(const std::string& tail, uint64_t tailOffset, uint64_t fileSize);

// Parses `count` central directory entries that fill `bytes` exactly; nullopt when malformed.
std::optional<std::vector<CentralRecord>> DecodeCentralDirectory(const std::string& bytes, size_t count);

// The stored name as wide text: UTF-8 with the flag, code page 936 without it.
std::wstring DecodeName(const CentralRecord& record);

// The name with every '/' turned into '\\'.
std::wstring BackslashPath(const std::wstring& name);

// NTFS extra field holding a last-write time; the time read back from a record's extra field.
std::string EncodeNtfsTimes(const FILETIME& lastWrite);
std::optional<FILETIME> DecodeNtfsLastWrite(const std::string& extra);

// Windows file attributes kept by an entry (0 when the entry was not made on Windows/DOS).
DWORD EntryAttributes(const CentralRecord& record);

}  // namespace platform::zip
