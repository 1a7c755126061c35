#include "platform/dialog.h"

#include "platform/error_report.h"
#include "platform/skin.h"

namespace platform {

Dialog::~Dialog()
{
    if (skin_ && window_)
        skin_->Detach(window_);
}

INT_PTR Dialog::DoModal(HWND owner, int templateId)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

HWND Dialog::Create(HWND parent, int templateId)
{
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

void Dialog::SetSkin(SkinManager* skin)
{
    if (skin_ && window_)
        skin_->Detach(window_);
    skin_ = skin;
    if (skin_ && window_)
        skin_->Attach(window_);
}

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
        if (self->skin_)
            self->skin_->Attach(window);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self)
        return FALSE;
    try {
        return self->Dispatch(message, wParam, lParam);
    } catch (const std::exception& error) {
        ShowErrorMessage(error);
    } catch (...) {
        ShowUnknownErrorMessage();
    }
    return FALSE;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    switch (message) {
    case WM_INITDIALOG:
        // TRUE lets the dialog manager focus the first control.
        return OnInit() ? FALSE : TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
        if (OnNotify(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), result)) {
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    case WM_TIMER:
        return OnTimer(wParam);
    case WM_SIZE:
        return OnSize(LOWORD(lParam), HIWORD(lParam));
    case WM_ERASEBKGND:
        if (skin_) {
            RECT client{};
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, skin_->FaceBrush());
            return TRUE;
        }
        break;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (OnMessage(message, wParam, lParam, result))
            return static_cast<INT_PTR>(result);
        if (skin_)
            return reinterpret_cast<INT_PTR>(skin_->ColorControl(message, reinterpret_cast<HDC>(wParam)));
        return FALSE;
    case WM_NCDESTROY: {
        if (skin_)
            skin_->Detach(window_);
        const bool handled = OnMessage(message, wParam, lParam, result);
        window_ = nullptr;
        return handled;
    }
    }
    if (OnMessage(message, wParam, lParam, result)) {
        SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    return FALSE;
}

}  // namespace platform
