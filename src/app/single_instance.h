// The named mutex that keeps "bootup" starts one at a time.
#pragma once

#include <windows.h>

namespace app {

inline constexpr const wchar_t* kBootupMutexName = L"Halvard_Labs_is_alive";

// Creates the mutex with initial ownership, waiting (and dispatching window messages) while
// another process holds it. Returns the handle, which the caller keeps until it ends.
HANDLE WaitForBootupMutex();

}  // namespace app
