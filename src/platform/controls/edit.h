// Single-line edit field.
#pragma once

#include "platform/controls/window.h"

#include <string>

namespace platform {

class Edit : public Window {
public:
    using Window::Window;

    std::wstring Text() const
    {
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
        return text;
    }
};

}  // namespace platform
