// Push button.
#pragma once

#include "platform/controls/window.h"

namespace platform {

class Button : public Window {
public:
    using Window::Window;
};

}  // namespace platform
