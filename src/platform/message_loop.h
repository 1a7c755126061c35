// The program's message loop, with dialog keyboard handling for the main window.
#pragma once

#include <windows.h>

namespace platform {

// Runs until WM_QUIT and returns its exit code.
int RunMessageLoop(HWND mainWindow);

}  // namespace platform
