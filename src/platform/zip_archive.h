// Zip archives of the undo sets: standard zip files that any zip tool reads.
//
// Every operation opens the archive file, does its work and closes it again. An add
// returns only when the entry and the new central directory are on disk; a process killed
// during an add leaves a journal beside the archive, and the next operation on the archive
// (or RecoverInterrupted) puts the archive back as it was before that add.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/zip_codec.h"

namespace platform {

// Buffer size for reading and writing entry data.
constexpr size_t kZipBufferSize = zip::kChunkSize;

struct ZipEntryInfo {
    std::wstring name;  // as stored, forward slashes: "C:/WINDOWS/TEMP/A.TMP"
    uint64_t size = 0;
    uint64_t compressedSize = 0;
    uint32_t crc = 0;
    uint16_t dosDate = 0;
    uint16_t dosTime = 0;
    FILETIME lastWrite{};  // UTC: the exact time when the entry has one, else its DOS time
    DWORD attributes = 0;  // read-only, hidden, system, archive

    bool IsFolder() const { return !name.empty() && name.back() == L'/'; }
    // The name with backslashes: "C:\WINDOWS\TEMP\A.TMP".
    std::wstring Path() const;
};

struct ZipAddSource {
    std::wstring sourcePath;
    std::wstring entryName;
};

struct ZipAddOutcome {
    bool added = false;
    std::wstring error;  // why the source was not added
};

struct ZipExtractOptions {
    // Empty: every entry goes back to its stored full path. Otherwise entries go below this
    // folder, the drive becoming a folder: "C:/A/B.TXT" under D:\out\ is D:\out\C\A\B.TXT.
    std::wstring destinationFolder;
    bool overwrite = true;  // replace files that exist; otherwise leave them and skip the entry
};

struct ZipExtractResult {
    size_t extracted = 0;
    std::vector<std::wstring> errors;  // one message per entry that could not be extracted
};

class ZipArchive {
public:
    explicit ZipArchive(std::wstring path) : path_(std::move(path)) {}
    const std::wstring& path() const { return path_; }

    // Puts an archive back as it was before an add that did not finish (the process was
    // killed). True when something was rolled back. Throws AppError when it cannot.
    static bool RecoverInterrupted(const std::wstring& path);

    bool Exists() const;
    // Size of the archive file in bytes; 0 when there is none.
    uint64_t Size() const;

    // The entries in archive order. A missing file or one that is no zip archive throws
    // AppError; an empty file has no entries.
    std::vector<ZipEntryInfo> Entries() const;

    // Adds one file as `entryName` (backslashes become '/'), keeping its last-write time
    // and attributes; creates the archive when missing. The source is opened with sharing
    // that excludes writers: a file open elsewhere for writing, or without sharing, is not
    // added. On any error the archive stays as it was and AppError is thrown. Files of 4 GiB
    // or more, or that would take the archive past 4 GiB, are refused. `pump` runs between
    // chunks.
    void Add(const std::wstring& sourcePath, const std::wstring& entryName, const std::function<void()>& pump = {});

    // Adds several files in order under one journal with one flush: when this returns, every
    // added entry and the directory are on disk. A source that cannot be read or does not fit
    // is left out (its outcome says why) and the others go on; an error of the archive itself
    // throws AppError and leaves the archive as it was. No further source is started once the
    // archive is larger than `stopPast` bytes, so the outcomes may cover only the first sources.
    std::vector<ZipAddOutcome> AddFiles(const std::vector<ZipAddSource>& sources,
                                        const std::function<void()>& pump = {}, uint64_t stopPast = UINT64_MAX);

    // Extracts the entries named in `names` (case and slash direction ignored), re-creating
    // folders; every entry whose name matches is written, in archive order.
    ZipExtractResult Extract(const std::vector<std::wstring>& names, const ZipExtractOptions& options) const;
    ZipExtractResult ExtractAll(const ZipExtractOptions& options) const;

    // Removes the named entries by rewriting the archive beside it and replacing it in one
    // step. Returns the number of entries removed.
    size_t Delete(const std::vector<std::wstring>& names);

private:
    ZipExtractResult ExtractMatching(const std::function<bool(const std::wstring&)>& wanted,
                                     const ZipExtractOptions& options) const;

    std::wstring path_;
};

}  // namespace platform
