// Non-owning wrapper of a window handle: the calls every control kind shares.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

class Window {
public:
    Window() = default;
    explicit Window(HWND window) : window_(window) {}

    void Attach(HWND window) { window_ = window; }
    HWND Handle() const { return window_; }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendMessageW(window_, message, wParam, lParam);
    }

    void Show(bool visible) const { ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }
    void Enable(bool enabled) const { EnableWindow(window_, enabled ? TRUE : FALSE); }

    void SetText(const std::wstring& text) const { SetWindowTextW(window_, text.c_str()); }

    void SetFont(HFONT font) const { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
    HFONT Font() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }

    void Move(const RECT& bounds) const
    {
        MoveWindow(window_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
    }
    RECT ClientRect() const
    {
        RECT rect{};
        GetClientRect(window_, &rect);
        return rect;
    }
    // Repaints the window and its children now rather than at the next idle moment.
    void Repaint() const { RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW); }

protected:
    HWND window_ = nullptr;
};

}  // namespace platform
