// Listing and removal of registry keys and values named by item texts. In list mode findings go
// to a sink; in delete mode every entry is first appended to today's backup file (flushed), and
// only then deleted.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace registry {

class RegistryRemover {
public:
    using FindingSink = std::function<void(const std::wstring& itemText)>;
    using StopCheck = std::function<bool()>;

    // `backupPath` is today's backup file (program folder + TodayUndoName + "Temp.reg").
    RegistryRemover(int osKind, std::wstring backupPath, FindingSink addFinding = {}, StopCheck stopRequested = {});

    // List mode: findings for every value, then everything under each subkey, then the key itself.
    // Delete mode: backs up and deletes the value of a value item, or the key with everything
    // under it. False when a stop was requested, the key is missing or nothing was deleted.
    // Throws platform::AppError when the backup cannot be written (then nothing is deleted).
    bool RemoveRegistryKey(const std::wstring& item, bool listMode);

    // One value of `keyPath` (without root name, starting with a backslash). A missing value does
    // nothing and gives true. In delete mode writes the key line (when asked) and the value
    // lines to the backup file, then deletes the value; false when it stays.
    bool RemoveRegistryValue(HKEY root, const std::wstring& keyPath, bool listMode, bool withKeyLine,
                             const std::wstring& name);

    // Appends one line to today's backup file (an empty text closes an entry).
    void WriteReg(const std::wstring& text) const;

    // Entries that were due for deletion but stay: unopenable or unreadable, not representable in
    // the backup file, or refused by the registry.
    int NotDeletedCount() const { return notDeleted_; }

    // The backup text gathered for the entry in hand; empty between calls.
    const std::wstring& PendingRegText() const { return pendingRegText_; }

private:
    bool ListKey(HKEY root, const std::wstring& keyPath, const std::wstring& item);
    bool DeleteValueItem(HKEY root, const std::wstring& rootName, const std::wstring& keyPath,
                         const std::wstring& valuePart);
    bool DeleteWholeKey(HKEY root, const std::wstring& rootName, const std::wstring& keyPath);
    void WritePending();
    bool Stopped() const { return stopRequested_ && stopRequested_(); }

    int osKind_;
    std::wstring backupPath_;
    FindingSink addFinding_;
    StopCheck stopRequested_;
    std::wstring pendingRegText_;
    int notDeleted_ = 0;
};

// The value name of a value item's part after "\\:": the text up to "=", without its enclosing
// double quotes, doubled quotes made single; "@" gives the default value ("").
std::wstring ValueNameOfItemPart(const std::wstring& valuePart);

}  // namespace registry
