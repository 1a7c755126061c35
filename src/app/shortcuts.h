// The main window's two shortcut operations, on its one TPBShellLink.
#pragma once

#include <optional>
#include <string>

#include "platform/shell_link.h"

namespace app {

// Writes linkFile. With modifyExisting and an existing link, fields not given keep the
// values read from it; otherwise they are empty. A given target also sets the working
// folder to the target's folder. Raises platform::EPBShellLink on failure, and then
// leaves `link` as it was.
void MakeShortcut(platform::TPBShellLink& link, const std::optional<std::wstring>& target,
                  const std::optional<std::wstring>& arguments, const std::optional<std::wstring>& description,
                  const std::wstring& linkFile, bool modifyExisting);

// The target of linkFile: "" when the file does not exist, "错误" when it cannot be read.
std::wstring CheckTarget(platform::TPBShellLink& link, const std::wstring& linkFile);

}  // namespace app
