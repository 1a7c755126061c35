// A progress bar that shows its percentage as its caption: an owner-drawn static whose window
// text is the caption ("37%"), painted in the skin's colours by its dialog.
#pragma once

#include "platform/controls/window.h"
#include "platform/skin.h"

#include <string>

namespace ui {

// The share of `maximum` that `position` has reached, 0..100 (0 when the maximum is not positive).
int PercentOf(long long position, long long maximum);
std::wstring PercentCaption(int percent);

class PercentBar : public platform::Window {
public:
    using Window::Window;

    // Sets the caption and repaints when the percentage changes.
    void SetPosition(int position, int maximum);
    int Percent() const { return percent_; }

    // Answer to the owner's WM_DRAWITEM for this control.
    void Paint(const DRAWITEMSTRUCT& item, const platform::SkinPalette& palette) const;

private:
    int percent_ = -1;
};

}  // namespace ui
