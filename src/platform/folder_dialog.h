// The shell's folder selection dialog.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace platform {

// Shows the folder dialog with `caption` above the tree, opened at `preset` when it names a
// folder. Returns the chosen file-system folder, or nothing when the user cancels.
std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& caption, const std::wstring& preset);

}  // namespace platform
