// The writers of the day's undo sets: AddToZip moves a file into today's archive, AddToBat
// removes an empty folder and records it in today's folder list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "removal/shred.h"
#include "removal/undo_names.h"

namespace removal {

// Shown in front of the removal's progress text before a large file is zipped.
inline constexpr wchar_t kLargeFileNotice[] = L"请耐心等待 - 大的文件会花费较多的时间 - ";
inline constexpr uint64_t kLargeFileSize = 1'000'000;

struct UndoWriter {
    UndoPlace place;
    ShredOptions shred;                                      // how the moved file is deleted
    std::function<void()> pump;                              // lets pending window messages through
    std::function<void(const std::wstring& notice)> notice;  // kLargeFileNotice, before a large file
};

// Moves files into today's archives in batches, one journal and one flush per batch instead
// of one per file, with the rules of AddToZip below. Each file is deleted only after the batch
// that holds it is on disk, so counters move at Flush. A file above kLargeFileSize goes alone,
// after the notice. The destructor flushes what is left.
class TUndoZipBatch {
public:
    static constexpr size_t kBatchFiles = 64;
    static constexpr uint64_t kBatchBytes = 4'000'000;

    TUndoZipBatch(UndoWriter writer, RemovalCounters& counters);
    ~TUndoZipBatch();
    TUndoZipBatch(const TUndoZipBatch&) = delete;
    TUndoZipBatch& operator=(const TUndoZipBatch&) = delete;

    void Add(const std::wstring& path, bool weekly, bool font);
    void Flush();

private:
    struct Pending {
        std::wstring path;
        bool weekly = true;
        bool font = false;
    };
    bool IsPending(const std::wstring& path) const;
    void Delete(const Pending& file);

    UndoWriter writer_;
    RemovalCounters& counters_;
    std::vector<Pending> pending_;
    uint64_t pendingBytes_ = 0;
    std::vector<std::uint8_t> readBuffer_;  // kept: allocating it per file costs Wine dearly
};

// Moves one file into today's archive (weekly: S + "Temp.zip", kept: S + ".zip"), first
// renaming an archive past kUndoArchiveLimit to its next free part name. The file is deleted
// with ShredFile (font flag passed on) only after the archive holds it on disk; then it counts
// as cleaned, and a failed delete takes that back. A file the archive does not take (open
// elsewhere, too big, the archive or program folder not writable) stays and counts once as not
// removed; a locked index.dat goes to ShredFile, which may defer it to the next restart. A file
// whose every byte is one overwrite pattern (0x00, 0xFF or 0xAA) holds nothing worth keeping: it
// is deleted without a copy and counts as cleaned. An empty path or a missing file does nothing.
void AddToZip(const std::wstring& path, bool weekly, bool font, const UndoWriter& writer,
              RemovalCounters& counters);

// Removes one empty folder (its text ends in a backslash) and appends "md \"<folder>\"" to
// today's folder list (S + "Temp.bat" or S + ".bat", code page 936, CR LF). A folder that is
// not empty or in use, a list that cannot be written, or a name that code page 936 cannot hold
// leaves the folder in place and counts as not removed.
void AddToBat(const std::wstring& folder, bool weekly, const UndoWriter& writer, RemovalCounters& counters);

}  // namespace removal
