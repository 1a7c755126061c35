// Reads and writes shortcut files (.lnk) through the shell's link object.
#pragma once

#include <windows.h>

#include <string>

#include "platform/errors.h"

namespace platform {

// Every failure of TPBShellLink.
class EPBShellLink : public AppError {
public:
    using AppError::AppError;
};

// Longest text a link field or link file name may hold: what fits a MAX_PATH buffer
// together with its terminating null.
constexpr size_t kMaxLinkText = MAX_PATH - 1;

// Shell folder into which TPBShellLink places its file name.
enum TShellFolder {
    sfNone,
    sfDesktop,
    sfFavorites,
    sfFonts,
    sfPersonal,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates,
};

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// A hot key: virtual key plus modifier state.
struct TShortCut {
    BYTE key = 0;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;

    friend bool operator==(const TShortCut&, const TShortCut&) = default;
};

// The raw hot key word of a link: key in the low byte, HOTKEYF_ bits in the high byte.
WORD HotKeyWord(const TShortCut& hotKey);
TShortCut ShortCutFromWord(WORD raw);

// Show command stored for a window state, and the state read back from a show command.
int ShowCommandFor(TWindowState state);
TWindowState WindowStateFor(int showCommand);

// The path HKCU "...\Explorer\Shell Folders" gives for `folder` (without creating the key).
// Throws EPBShellLink when the key or value is missing; sfNone gives "".
std::wstring ShellFolderPath(TShellFolder folder);

class TPBShellLink {
public:
    const std::wstring& FileName() const { return fileName_; }
    // Inside a shell folder (ShellFolder not sfNone) only the file-name part is kept.
    void SetFileName(const std::wstring& value);

    const std::wstring& Target() const { return target_; }
    void SetTarget(const std::wstring& value);
    const std::wstring& WorkingDir() const { return workingDir_; }
    void SetWorkingDir(const std::wstring& value);
    const std::wstring& Description() const { return description_; }
    void SetDescription(const std::wstring& value);
    const std::wstring& Arguments() const { return arguments_; }
    void SetArguments(const std::wstring& value);

    int ShowCommand() const { return showCommand_; }
    TWindowState WindowState() const { return WindowStateFor(showCommand_); }
    void SetWindowState(TWindowState state) { showCommand_ = ShowCommandFor(state); }

    WORD RawHotKey() const { return hotKey_; }
    TShortCut HotKey() const { return ShortCutFromWord(hotKey_); }
    void SetHotKey(const TShortCut& hotKey) { hotKey_ = HotKeyWord(hotKey); }

    TShellFolder ShellFolder() const { return shellFolder_; }
    // Moves FileName into the new shell folder; sfNone leaves FileName as it is.
    void SetShellFolder(TShellFolder folder);

    // Reads the link named by FileName; "链接未找到." when there is no such file.
    void ReadLink();
    // Writes the fields to FileName, creating or replacing the file.
    void WriteLink() const;
    // Both raise EPBShellLink on failure and then leave every field unchanged.
    void LoadFromFile(const std::wstring& name);
    void SaveToFile(const std::wstring& name) const;

private:
    std::wstring fileName_;
    std::wstring target_;
    std::wstring workingDir_;
    std::wstring description_;
    std::wstring arguments_;
    int showCommand_ = SW_SHOWNORMAL;
    WORD hotKey_ = 0;
    TShellFolder shellFolder_ = sfNone;
};

}  // namespace platform
