#include "platform/message_loop.h"

namespace platform {

int RunMessageLoop(HWND mainWindow)
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace platform
