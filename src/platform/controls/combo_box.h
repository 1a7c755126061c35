// Drop-down list combo box: fixed items, one chosen by index.
#pragma once

#include "platform/controls/window.h"

#include <span>
#include <string>

namespace platform {

class ComboBox : public Window {
public:
    using Window::Window;

    void AddString(const std::wstring& text) const { Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    void SetItems(std::span<const wchar_t* const> items) const
    {
        Send(CB_RESETCONTENT);
        for (const wchar_t* item : items)
            AddString(item);
    }
    int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    std::wstring ItemText(int index) const
    {
        const auto length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
        if (length < 0)
            return {};
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }
    // The chosen item, -1 for none.
    int ItemIndex() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    void SetItemIndex(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    // Width of the opened list in pixels, so that long items can be read in full.
    void SetDroppedWidth(int pixels) const { Send(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(pixels)); }
};

}  // namespace platform
