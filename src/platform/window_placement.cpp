#include "platform/window_placement.h"

#include <algorithm>

namespace platform {

void SetClientSize(HWND window, int width, int height, bool hasMenu)
{
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), hasMenu ? TRUE : FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayOutDialog(HWND dialog, int width, int height, std::span<const ControlPlacement> controls)
{
    SetClientSize(dialog, width, height);
    for (const ControlPlacement& control : controls) {
        const RECT& r = control.bounds;
        MoveWindow(GetDlgItem(dialog, control.id), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
}

void CenterOnScreen(HWND window, bool workArea)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = workArea ? monitor.rcWork : monitor.rcMonitor;
    const LONG width = bounds.right - bounds.left;
    const LONG height = bounds.bottom - bounds.top;
    SetWindowPos(window, nullptr, area.left + std::max(0L, (area.right - area.left - width) / 2),
                 area.top + std::max(0L, (area.bottom - area.top - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace platform
