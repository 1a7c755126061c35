#include "app/single_instance.h"

namespace app {

namespace {

// Dispatches what is pending, then waits briefly for one more message and dispatches it. The
// wait is bounded: a bootup process has no window yet, so a message may never come.
void DispatchAndWaitOne()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0 &&
        PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace

HANDLE WaitForBootupMutex()
{
    HANDLE mutex = CreateMutexW(nullptr, TRUE, kBootupMutexName);
    while (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
        Sleep(1000);
        DispatchAndWaitOne();
        if (mutex != nullptr)
            CloseHandle(mutex);
        Sleep(1000);
        DispatchAndWaitOne();
        mutex = CreateMutexW(nullptr, TRUE, kBootupMutexName);
    }
    return mutex;
}

}  // namespace app
