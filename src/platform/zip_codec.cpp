#include "platform/zip_codec.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "platform/errors.h"
#include "platform/zip_format.h"

namespace platform::zip {

namespace {

[[noreturn]] void Corrupt(const std::wstring& entryName, const wchar_t* detail)
{
    throw AppError(L"压缩项目 \"" + entryName + L"\" 已损坏: " + detail);
}

uint32_t UpdateCrc(uint32_t crc, const unsigned char* data, size_t count)
{
    return static_cast<uint32_t>(crc32(crc, data, static_cast<uInt>(count)));
}

class Deflater {
public:
    Deflater()
    {
        if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
            throw AppError(L"无法初始化压缩");
    }
    ~Deflater() { deflateEnd(&stream); }
    z_stream stream{};
};

class Inflater {
public:
    Inflater()
    {
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
            throw AppError(L"无法初始化解压缩");
    }
    ~Inflater() { inflateEnd(&stream); }
    z_stream stream{};
};

StreamResult CopyStored(const ZipFileHandle& archive, uint64_t offset, uint64_t compressedSize,
                        uint64_t expectedSize, ZipFileHandle& target, const std::wstring& entryName)
{
    if (compressedSize != expectedSize)
        Corrupt(entryName, L"大小不符");
    std::vector<unsigned char> buffer(kChunkSize);
    StreamResult result;
    while (result.compressedSize < compressedSize) {
        const size_t n = static_cast<size_t>(std::min<uint64_t>(kChunkSize, compressedSize - result.compressedSize));
        archive.ReadAt(offset + result.compressedSize, buffer.data(), n);
        target.WriteAt(result.size, buffer.data(), n);
        result.crc = UpdateCrc(result.crc, buffer.data(), n);
        result.compressedSize += n;
        result.size += n;
    }
    return result;
}

StreamResult Inflate(const ZipFileHandle& archive, uint64_t offset, uint64_t compressedSize, uint64_t expectedSize,
                     ZipFileHandle& target, const std::wstring& entryName)
{
    std::vector<unsigned char> in(kChunkSize);
    std::vector<unsigned char> out(kChunkSize);
    Inflater inflater;
    z_stream& stream = inflater.stream;
    StreamResult result;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0) {
            if (result.compressedSize == compressedSize)
                Corrupt(entryName, L"数据不完整");
            const size_t n =
                static_cast<size_t>(std::min<uint64_t>(kChunkSize, compressedSize - result.compressedSize));
            archive.ReadAt(offset + result.compressedSize, in.data(), n);
            result.compressedSize += n;
            stream.next_in = in.data();
            stream.avail_in = static_cast<uInt>(n);
        }
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        status = inflate(&stream, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
            Corrupt(entryName, L"压缩数据无效");
        const size_t produced = out.size() - stream.avail_out;
        if (result.size + produced > expectedSize)
            Corrupt(entryName, L"数据比记录的大小更长");
        target.WriteAt(result.size, out.data(), produced);
        result.crc = UpdateCrc(result.crc, out.data(), produced);
        result.size += produced;
    }
    return result;
}

// Data that deflate cannot shrink (already compressed or random) is stored from here on in
// stored blocks of the same deflate stream: no time is spent on it, and the entry stays standard.
void SwitchToStoredBlocks(z_stream& stream, ZipFileHandle& archive, uint64_t offset, StreamResult& result,
                          std::vector<unsigned char>& out)
{
    int status = Z_BUF_ERROR;
    while (status == Z_BUF_ERROR) {
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        status = deflateParams(&stream, 0, Z_DEFAULT_STRATEGY);
        if (status != Z_OK && status != Z_BUF_ERROR)
            throw AppError(L"压缩失败");
        const size_t produced = out.size() - stream.avail_out;
        archive.WriteAt(offset + result.compressedSize, out.data(), produced);
        result.compressedSize += produced;
        if (status == Z_BUF_ERROR && produced == 0)
            return;  // no progress possible: keep deflating
    }
}

// The first chunk of data that deflate could not shrink: its bytes are spread almost evenly
// over all 256 values (more than 7.9 bits of entropy per byte; text has 4 to 5). Small
// chunks tell too little and are left to deflate.
bool LooksIncompressible(const unsigned char* data, size_t size)
{
    constexpr size_t kSmallestSample = 4096;
    if (size < kSmallestSample)
        return false;
    std::array<size_t, 256> counts{};
    for (size_t i = 0; i < size; ++i)
        ++counts[data[i]];
    double bits = 0;
    for (const size_t count : counts) {
        if (count == 0)
            continue;
        const double p = static_cast<double>(count) / static_cast<double>(size);
        bits -= p * std::log2(p);
    }
    return bits > 7.9;
}

}  // namespace

struct Compressor::State {
    std::vector<unsigned char> in = std::vector<unsigned char>(kChunkSize);
    std::vector<unsigned char> out = std::vector<unsigned char>(kChunkSize);
    std::optional<Deflater> deflater;
};

Compressor::Compressor() : state_(std::make_unique<State>()) {}

Compressor::~Compressor() = default;

StreamResult Compressor::DeflateInto(const ZipFileHandle& source, uint64_t size, ZipFileHandle& archive,
                                     uint64_t offset, const std::function<void()>& pump)
{
    // Bytes deflated before deciding whether deflating pays off.
    constexpr uint64_t kProbeSize = 2 * kChunkSize;
    bool storing = false;
    std::vector<unsigned char>& in = state_->in;
    std::vector<unsigned char>& out = state_->out;
    // A stream that ended normally starts over with a reset; after an error or a switch to
    // stored blocks it is made anew, so every entry starts at the same level.
    std::optional<Deflater>& deflater = state_->deflater;
    if (deflater && deflateReset(&deflater->stream) != Z_OK)
        deflater.reset();
    if (!deflater)
        deflater.emplace();
    struct Discard {
        std::optional<Deflater>& deflater;
        bool keep = false;
        ~Discard()
        {
            if (!keep)
                deflater.reset();
        }
    } discard{deflater};
    z_stream& stream = deflater->stream;
    StreamResult result;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        int flush = Z_FINISH;
        if (result.size < size) {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(kChunkSize, size - result.size));
            source.ReadAt(result.size, in.data(), n);
            result.crc = UpdateCrc(result.crc, in.data(), n);
            result.size += n;
            stream.next_in = in.data();
            stream.avail_in = static_cast<uInt>(n);
            if (result.size < size)
                flush = Z_NO_FLUSH;
            // Bytes as evenly spread as random ones: stored blocks from the start.
            if (result.size == n && LooksIncompressible(in.data(), n)) {
                if (deflateParams(&stream, 0, Z_DEFAULT_STRATEGY) != Z_OK)
                    throw AppError(L"压缩失败");
                storing = true;
            }
        }
        do {
            stream.next_out = out.data();
            stream.avail_out = static_cast<uInt>(out.size());
            status = deflate(&stream, flush);
            if (status == Z_STREAM_ERROR)
                throw AppError(L"压缩失败");
            const size_t produced = out.size() - stream.avail_out;
            archive.WriteAt(offset + result.compressedSize, out.data(), produced);
            result.compressedSize += produced;
        } while (stream.avail_out == 0);
        if (!storing && flush == Z_NO_FLUSH && result.size >= kProbeSize &&
            stream.total_out * 100 >= stream.total_in * 97) {
            SwitchToStoredBlocks(stream, archive, offset, result, out);
            storing = true;
        }
        if (pump)
            pump();
    }
    discard.keep = !storing;
    return result;
}

StreamResult ExtractInto(const ZipFileHandle& archive, uint64_t offset, uint64_t compressedSize, uint16_t method,
                         uint64_t expectedSize, ZipFileHandle& target, const std::wstring& entryName)
{
    if (method == kMethodStored)
        return CopyStored(archive, offset, compressedSize, expectedSize, target, entryName);
    if (method == kMethodDeflated)
        return Inflate(archive, offset, compressedSize, expectedSize, target, entryName);
    throw AppError(L"压缩项目 \"" + entryName + L"\" 使用了不支持的压缩方式 " + std::to_wstring(method));
}

}  // namespace platform::zip
