// A page of the main window. Its buttons and links are handled by the main window, so the
// page passes their commands and notifications up to it.
#pragma once

#include "platform/dialog.h"

namespace ui {

class FramePage : public platform::Page {
protected:
    bool OnCommand(int id, int code, HWND control) override
    {
        SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
        return true;
    }
    bool OnNotify(int id, NMHDR* header, LRESULT& result) override
    {
        result = SendMessageW(GetParent(Handle()), WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(header));
        return true;
    }
};

}  // namespace ui
