// List box of texts, with multiple selection when its style asks for it.
#pragma once

#include "platform/controls/window.h"

#include <string>
#include <vector>

namespace platform {

class ListBox : public Window {
public:
    using Window::Window;

    void Clear() const { Send(LB_RESETCONTENT); }
    int AddString(const std::wstring& text) const
    {
        return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    std::wstring ItemText(int index) const
    {
        const auto length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
        if (length < 0)
            return {};
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(length));
        return text;
    }

    bool Selected(int index) const { return Send(LB_GETSEL, static_cast<WPARAM>(index)) > 0; }
    void SetSelected(int index, bool selected) const
    {
        Send(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    }
    // Selected positions in list order.
    std::vector<size_t> SelectedIndices() const
    {
        std::vector<size_t> selected;
        for (int i = 0; i < Count(); ++i)
            if (Selected(i))
                selected.push_back(static_cast<size_t>(i));
        return selected;
    }
    // The item with the focus rectangle of a multiple-selection list.
    int CaretIndex() const { return static_cast<int>(Send(LB_GETCARETINDEX)); }
};

}  // namespace platform
