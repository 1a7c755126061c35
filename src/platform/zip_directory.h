// Reading an archive's central directory and locating entry data, with every offset and
// length checked against the file, so a damaged archive gives an error, never a crash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/zip_file_io.h"
#include "platform/zip_format.h"

namespace platform::zip {

struct Directory {
    uint64_t offset = 0;  // where the central directory starts; entry data ends here
    std::string bytes;    // the central directory as stored
    std::vector<CentralRecord> records;
};

// The archive's directory; an empty file has none. Throws AppError naming `path` when the
// file is not a zip archive this program can read.
Directory ReadDirectory(const ZipFileHandle& archive, const std::wstring& path);

struct EntrySpan {
    uint64_t dataOffset = 0;  // first byte of the entry's data
    uint64_t end = 0;         // one past its data (and data descriptor, when it has one)
};

// Where an entry's data lies. Throws AppError when its local header is damaged or its data
// would run into the central directory.
EntrySpan LocateEntry(const ZipFileHandle& archive, const CentralRecord& record, uint64_t directoryOffset,
                      const std::wstring& path);

// "... is not a valid zip archive" for `path`, with a detail.
[[noreturn]] void ThrowNotZip(const std::wstring& path, const std::wstring& detail);

}  // namespace platform::zip
