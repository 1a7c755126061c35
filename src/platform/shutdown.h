// Shutting Windows down.
#pragma once

#include <windows.h>

namespace platform {

// On the NT family, enables the shutdown privilege of the process (failures ignored); then
// calls ExitWindowsEx(flags, 0). True when ExitWindowsEx succeeded.
bool MyExitWindows(UINT flags);

}  // namespace platform
