// The progress window as a long operation drives it: a caption, a label, two bars, the
// Cancelled flag that its cancel button sets, and the pump that lets the click through.
// The window implements this; engines and their tests only see the interface.
#pragma once

#include <string>

namespace removal {

class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;

    // Clears Cancelled, sets the caption, starts the animation, shows the window (not modal)
    // and the hourglass cursor.
    virtual void Open(const std::wstring& caption) = 0;
    virtual void SetLabel(const std::wstring& text) = 0;
    // Bar 0 is the first bar, 1 the second.
    virtual void SetBar(int bar, int position, int maximum) = 0;
    virtual void ShowBar(int bar, bool visible) = 0;
    virtual bool Cancelled() const = 0;
    // Lets pending window messages be processed.
    virtual void Pump() = 0;
    // Closes the window and restores the cursor.
    virtual void Close() = 0;
};

}  // namespace removal
