// ShredFile: the one routine through which the program deletes a file. With no-remains deletion
// on, the contents are overwritten three times and the file renamed before it is deleted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace removal {

// The settings ShredFile reads.
struct ShredOptions {
    bool UseNoRemainsDeletion = false;  // overwrite and rename before deleting
    bool StubbornIndexDat = false;      // defer a locked index.dat to the next restart
    std::uint8_t ScanMode = 0;          // the deferral applies in mode 2 (Run custom settings) only
};

// The counters of a removal run. Callers count a file as cleaned around the call; a failure
// takes that back: ProblemCount - 1, NotRemovedCount + 1.
struct RemovalCounters {
    int ProblemCount = 0;
    int NotRemovedCount = 0;
    bool IndexDatDeferred = false;  // a locked index.dat waits for the next restart
};

struct ShredCallbacks {
    // Lets the window process pending messages; called at the start, before each pass and
    // between the chunks of a pass. The callee throttles it.
    std::function<void()> pump;
    // After a pass has been written and flushed to disk (file still under its own name).
    std::function<void(std::uint8_t pattern, const std::wstring& path)> passWritten;
    // After overwriting and renaming, just before the delete, with the file's current name.
    std::function<void(const std::wstring& currentName)> beforeDelete;
};

// Deletes the file at path. A missing file (or a folder) changes nothing. A file that cannot be
// removed counts as a failure and, unless it was overwritten, keeps its contents and attributes.
// A hard-linked file is deleted without overwriting, so its other names keep their contents.
// The font flag lets a font file that cannot be deleted after overwriting be unloaded and retried.
void ShredFile(const std::wstring& path, bool font, const ShredOptions& options, RemovalCounters& counters,
               const ShredCallbacks& callbacks = {});

}  // namespace removal
