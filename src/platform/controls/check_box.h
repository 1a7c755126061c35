// Check box (an auto check box of the dialog template, or one created in code).
#pragma once

#include "platform/controls/window.h"

namespace platform {

class CheckBox : public Window {
public:
    using Window::Window;

    bool Checked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

}  // namespace platform
