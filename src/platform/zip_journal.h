// The add journal: before an add overwrites an archive's central directory, the directory
// (with the end record) is saved here and flushed. A journal that is still present when the
// archive is next opened means the add was interrupted, and the archive is put back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform::zip {

std::wstring JournalPath(const std::wstring& archivePath);

// What an add changes: the archive's bytes from `offset` to its end were `tail`; or the
// archive did not exist at all (`created`).
struct JournalState {
    bool created = false;
    uint64_t offset = 0;
    std::string tail;
};

// Writes and flushes the journal of an archive. Throws AppError when it cannot.
void WriteJournal(const std::wstring& archivePath, const JournalState& state);

// Puts the archive back as its journal describes and removes the journal. A journal that
// did not finish writing (the archive was not touched yet) is simply removed. Returns
// false when there is no journal. Throws AppError when the archive cannot be restored;
// the journal then stays for the next try.
bool RollBackFromJournal(const std::wstring& archivePath);

// Removes the journal once an add is complete. Throws AppError when it cannot.
void RemoveJournal(const std::wstring& archivePath);

}  // namespace platform::zip
