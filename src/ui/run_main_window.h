// Runs the program's main window: creation, start-up, show and the message loop.
#pragma once

#include "ui/main_window.h"

#include <functional>

namespace ui {

// Creates the window, calls `afterCreate` (the other windows, AutoScanActive, hooks), shows
// the window and runs the message loop until it closes. Returns the loop's exit code.
int RunMainWindow(TForm1& form, const std::function<void()>& afterCreate = {});

}  // namespace ui
