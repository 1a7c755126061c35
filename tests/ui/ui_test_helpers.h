// Helpers for the window tests: a main window fixture, a watcher that answers the skinned
// message dialog from another thread, message pumping and screenshots.
#pragma once

#include "ui/main_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ui_testing {

// Processes the thread's window messages for about `ms` milliseconds.
void PumpMessages(DWORD ms);

// Saves the window as a 24-bit BMP under C:\tidymate-screens\ (name without extension).
void SaveScreenshot(HWND window, const std::wstring& name);

// What the watcher saw of the message dialog.
struct SeenDialog {
    bool found = false;
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;  // captions of the visible buttons, left to right
    RECT bounds{};
    bool closedByAction = false;        // the dialog went away after the action
};

// Waits on its own thread for the message dialog of the current thread, records it, then
// acts on it. If the action does not close it, the first button is clicked so the test goes on.
class DialogWatcher {
public:
    using Action = std::function<void(HWND dialog, const SeenDialog& seen)>;
    explicit DialogWatcher(Action action);
    ~DialogWatcher();
    // Waits for the watcher to finish.
    const SeenDialog& Seen();

    static Action ClickButton(size_t index);
    static Action Screenshot(const std::wstring& name, size_t thenClick);

private:
    void Run(Action action);
    DWORD uiThread_;
    SeenDialog seen_;
    std::thread thread_;
};

// Actions on the message dialog from the watcher thread.
void ClickDialogButton(HWND dialog, size_t visibleIndex);
// Types a key into the dialog's focused control, as the keyboard would.
void PressDialogKey(HWND dialog, WORD key);
bool WaitDialogGone(HWND dialog, int ms);

// The main window created (not yet shown), with beeps counted instead of played.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void Show();
    int VisiblePage() const;
    void SendCommand(int id);
    // Sends a page button's command through the page that holds the button.
    void ClickPageButton(int pageIndex, int id);

    ui::TForm1 form;
    std::vector<UINT> beeps;
};

}  // namespace ui_testing
