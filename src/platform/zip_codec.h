// Streams entry data between files in chunks: deflate a source into an archive, inflate
// (or copy) an entry's data out of one, with its CRC-32.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/zip_file_io.h"

namespace platform::zip {

// Size of every read and write buffer: no file is ever held in memory whole.
constexpr size_t kChunkSize = 64 * 1024;

struct StreamResult {
    uint32_t crc = 0;
    uint64_t size = 0;            // bytes read from the source / written to the target
    uint64_t compressedSize = 0;  // bytes of entry data
};

// Deflates entries one after another with one zlib stream and one pair of buffers: setting
// those up costs Wine more than the data of a small file.
class Compressor {
public:
    Compressor();
    ~Compressor();
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;

    // Deflates `size` bytes of `source` (read from its start) to `archive` at `offset`.
    // `pump` runs after every chunk.
    StreamResult DeflateInto(const ZipFileHandle& source, uint64_t size, ZipFileHandle& archive, uint64_t offset,
                             const std::function<void()>& pump);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Writes the data of an entry (`compressedSize` bytes at `offset`, stored or deflated) to
// `target` from its start. Stops with an AppError naming `entryName` when the data is
// corrupt or grows past `expectedSize`; the caller compares CRC and size.
StreamResult ExtractInto(const ZipFileHandle& archive, uint64_t offset, uint64_t compressedSize, uint16_t method,
                         uint64_t expectedSize, ZipFileHandle& target, const std::wstring& entryName);

}  // namespace platform::zip
