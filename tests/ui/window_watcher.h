// Finds windows of the test's user-interface thread from another thread, while that thread
// sits in a modal loop, and acts on them: standard message boxes and the program's dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace ui_testing {

// A visible top-level window of `thread` that `match` accepts, waiting up to timeoutMs.
HWND WaitForThreadWindow(DWORD thread, const std::function<bool(HWND)>& match, DWORD timeoutMs = 10000);
// A visible dialog (class "#32770") of `thread` with this caption.
HWND WaitForDialog(DWORD thread, const std::wstring& caption, DWORD timeoutMs = 10000);

std::wstring WindowText(HWND window);
// Posts a button's command to its dialog, as a click would send it.
void PostButtonClick(HWND dialog, int id);

// What was seen of a standard message box.
struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons;  // IDOK, IDYES, IDNO ... present in the box
    bool icon = false;
};

// Runs `script` on its own thread with the id of the thread that created the watcher.
class ThreadWatcher {
public:
    explicit ThreadWatcher(std::function<void(DWORD uiThread)> script);
    ~ThreadWatcher();
    void Join();

private:
    std::thread thread_;
};

// Waits for a standard message box of `thread` with this caption, records it, and presses
// `button`. An empty result (caption empty) when none came.
SeenMessageBox AnswerMessageBox(DWORD thread, const std::wstring& caption, int button, DWORD timeoutMs = 10000);

}  // namespace ui_testing
