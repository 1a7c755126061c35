// Base of every dialog, page and window made from a dialog template. One static procedure
// stores `this` and calls the virtual handlers; an exception escaping a handler is shown by
// the default error handler and never reaches Windows.
#pragma once

#include <windows.h>

namespace platform {

class SkinManager;

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Modal: returns the value passed to End, or -1 when the template cannot be loaded.
    INT_PTR DoModal(HWND owner, int templateId);
    // Modeless: the window, or nullptr when it could not be created.
    HWND Create(HWND parent, int templateId);

    HWND Handle() const { return window_; }
    HWND Item(int id) const { return GetDlgItem(window_, id); }

    // Colours the dialog and its controls from the skin; nullptr leaves the system colours.
    void SetSkin(SkinManager* skin);
    SkinManager* Skin() const { return skin_; }

protected:
    // Each returns whether it handled the message.
    virtual bool OnInit() { return false; }
    virtual bool OnCommand(int id, int code, HWND control) { return false; }
    virtual bool OnNotify(int id, NMHDR* header, LRESULT& result) { return false; }
    virtual bool OnTimer(UINT_PTR timerId) { return false; }
    virtual bool OnSize(int width, int height) { return false; }
    // Any other message; `result` is the message's return value when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }

    void End(INT_PTR result) const { EndDialog(window_, result); }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    SkinManager* skin_ = nullptr;
};

// A page of a page control, a wizard step or a settings tab.
class Page : public Dialog {
public:
    virtual void OnSetActive() {}
    virtual void OnKillActive() {}
};

}  // namespace platform
