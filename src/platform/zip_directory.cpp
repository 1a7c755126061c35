#include "platform/zip_directory.h"

#include <algorithm>

#include "platform/errors.h"

namespace platform::zip {

namespace {

constexpr uint32_t kLargestDirectory = 64u << 20;

}  // namespace

void ThrowNotZip(const std::wstring& path, const std::wstring& detail)
{
    throw AppError(L"\"" + path + L"\" 不是有效的 ZIP 文件 (" + detail + L")");
}

Directory ReadDirectory(const ZipFileHandle& archive, const std::wstring& path)
{
    Directory directory;
    const uint64_t fileSize = archive.Size();
    if (fileSize == 0)
        return directory;
    const uint64_t tailSize = std::min<uint64_t>(fileSize, kEndRecordSize + kMaxCommentSize);
    const uint64_t tailOffset = fileSize - tailSize;
    const std::string tail = archive.ReadAt(tailOffset, static_cast<size_t>(tailSize));
    const std::optional<EndRecord> end = FindEndRecord(tail, tailOffset, fileSize);
    if (!end)
        ThrowNotZip(path, L"找不到目录结尾");
    if (static_cast<uint64_t>(end->directoryOffset) + end->directorySize != end->offset)
        ThrowNotZip(path, L"目录位置不符");
    if (end->directorySize > kLargestDirectory)
        ThrowNotZip(path, L"目录过大");
    directory.offset = end->directoryOffset;
    directory.bytes = archive.ReadAt(directory.offset, end->directorySize);
    auto records = DecodeCentralDirectory(directory.bytes, end->entryCount);
    if (!records)
        ThrowNotZip(path, L"目录已损坏");
    for (const CentralRecord& record : *records) {
        if (record.localHeaderOffset + static_cast<uint64_t>(kLocalHeaderSize) > directory.offset)
            ThrowNotZip(path, L"项目位置不符");
    }
    directory.records = std::move(*records);
    return directory;
}

EntrySpan LocateEntry(const ZipFileHandle& archive, const CentralRecord& record, uint64_t directoryOffset,
                      const std::wstring& path)
{
    const std::optional<LocalHeader> header =
        DecodeLocalHeader(archive.ReadAt(record.localHeaderOffset, kLocalHeaderSize));
    if (!header)
        ThrowNotZip(path, L"项目头已损坏");
    EntrySpan span;
    span.dataOffset = record.localHeaderOffset + kLocalHeaderSize + header->nameLength + header->extraLength;
    span.end = span.dataOffset + record.compressedSize;
    if (span.end > directoryOffset)
        ThrowNotZip(path, L"项目数据超出范围");
    if (record.flags & kFlagDataDescriptor) {
        const bool hasSignature = span.end + 4 <= directoryOffset &&
                                  archive.ReadAt(span.end, 4) == std::string("\x50\x4b\x07\x08", 4);
        span.end += hasSignature ? 16 : 12;
        if (span.end > directoryOffset)
            ThrowNotZip(path, L"项目数据超出范围");
    }
    return span;
}

}  // namespace platform::zip
