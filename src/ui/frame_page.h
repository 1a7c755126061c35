// A page of the main window. Its buttons and links are handled by the main window, so the
// page passes their commands and notifications up to it. Link labels are plain notifying
// statics drawn in the link colour with the hand cursor.
#pragma once

#include "platform/dialog.h"
#include "platform/skin.h"

#include <algorithm>
#include <vector>

namespace ui {

class FramePage : public platform::Page {
public:
    void AddLink(int id) { links_.push_back(id); }

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
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (message == WM_CTLCOLORSTATIC && Skin() && IsLink(reinterpret_cast<HWND>(lParam))) {
            const auto dc = reinterpret_cast<HDC>(wParam);
            result = reinterpret_cast<LRESULT>(Skin()->ColorControl(message, dc));
            SetTextColor(dc, Skin()->Palette().link);
            return true;
        }
        if (message == WM_SETCURSOR && IsLink(reinterpret_cast<HWND>(wParam))) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            result = TRUE;
            return true;
        }
        return false;
    }

private:
    bool IsLink(HWND control) const
    {
        return std::find(links_.begin(), links_.end(), GetDlgCtrlID(control)) != links_.end();
    }

    std::vector<int> links_;
};

}  // namespace ui
