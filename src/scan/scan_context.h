// What the searches of a scan share: the running scan's state and the host that receives
// findings, keeps the window responsive and answers the stop button.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings.h"
#include "platform/shell_link.h"

namespace platform {
struct FileEntry;
}

namespace scan {

// Scan modes.
enum TScanMode : uint8_t { smCleanPC = 0, smRemoveTracks = 1, smCustom = 2, smRegistryHistory = 3 };

// Folders already searched in this scan, as markers "<<" + path without trailing
// backslash + ">>", compared without regard to letter case.
class THandledFolders {
public:
    void Clear() { upperText_.clear(); }
    // Adds the marker of a folder (a trailing backslash is dropped).
    void Add(const std::wstring& folder);
    // Whether the marker of the folder (given without or with a trailing backslash) is present.
    bool Contains(const std::wstring& folder) const;
    // Whether the exact marker text (e.g. "<<C:>>") is present.
    bool ContainsMarker(const std::wstring& marker) const;
    const std::wstring& Text() const { return upperText_; }

private:
    std::wstring upperText_;
};

// The state of one scan, read by every search.
struct TScanState {
    uint8_t ScanMode = smCleanPC;
    uint8_t OSKind = 0;
    const app::TSettings* Settings = nullptr;
    THandledFolders HandledFolders;
    platform::TPBShellLink* ShellLink = nullptr;  // for shortcut targets
};

// Receives what the searches produce; implemented by the main window (and by tests).
class IScanHost {
public:
    virtual ~IScanHost() = default;
    // Makes a category current: later findings belong to it.
    virtual void ChangeLabel(int categoryIndex) = 0;
    // Reports one finding of the current category: its text and the same path built from
    // short (8.3) names, or "".
    virtual void ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath) = 0;
    // The same for a finding whose directory entry the walk has just listed: a host may take
    // its size and last-write time from `entry` instead of asking the disk again.
    virtual void ListBoxAddEntry(const std::wstring& path, const std::wstring& alternatePath,
                                 const platform::FileEntry& entry)
    {
        ListBoxAddString(path, alternatePath);
    }
    // Lets the window process pending messages (the host throttles this).
    virtual void ProcessMessages() = 0;
    virtual bool StopRequested() const = 0;
    // Shows the folder being searched ("当前文件夹: " + folder).
    virtual void ShowCurrentFolder(const std::wstring& folder) = 0;
    // Puts a text of its own in the progress label and repaints it (a host without one may
    // ignore it).
    virtual void ShowProgressText(const std::wstring&) {}
    // A message for the user (the skinned message box).
    virtual void ShowMessage(const std::wstring& text) = 0;
};

}  // namespace scan
