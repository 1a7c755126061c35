// A window timer that is either running or not, like a form's timer component.
#pragma once

#include <windows.h>

namespace platform {

class Timer {
public:
    Timer(UINT_PTR id, UINT intervalMs) : id_(id), interval_(intervalMs) {}

    void Attach(HWND owner) { owner_ = owner; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled)
    {
        if (enabled)
            SetTimer(owner_, id_, interval_, nullptr);
        else
            KillTimer(owner_, id_);
        enabled_ = enabled;
    }

private:
    HWND owner_ = nullptr;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_ = false;
};

}  // namespace platform
