#include "window_watcher.h"

namespace ui_testing {

namespace {

constexpr int kMessageBoxTextId = 0xFFFF;
constexpr int kMessageBoxIconId = 0x0440;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

}  // namespace

std::wstring WindowText(HWND window)
{
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, nullptr);
    return buffer;
}

HWND WaitForThreadWindow(DWORD thread, const std::function<bool(HWND)>& match, DWORD timeoutMs)
{
    struct Search {
        const std::function<bool(HWND)>* match;
        HWND found;
    };
    for (DWORD waited = 0; waited <= timeoutMs; waited += 20) {
        Search search{&match, nullptr};
        EnumThreadWindows(
            thread,
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                if (IsWindowVisible(window) && (*s->match)(window)) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(20);
    }
    return nullptr;
}

HWND WaitForDialog(DWORD thread, const std::wstring& caption, DWORD timeoutMs)
{
    return WaitForThreadWindow(
        thread, [&](HWND window) { return ClassOf(window) == L"#32770" && WindowText(window) == caption; }, timeoutMs);
}

void PostButtonClick(HWND dialog, int id)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ThreadWatcher::ThreadWatcher(std::function<void(DWORD uiThread)> script)
{
    const DWORD uiThread = GetCurrentThreadId();
    thread_ = std::thread([script, uiThread] { script(uiThread); });
}

ThreadWatcher::~ThreadWatcher() { Join(); }

void ThreadWatcher::Join()
{
    if (thread_.joinable())
        thread_.join();
}

SeenMessageBox AnswerMessageBox(DWORD thread, const std::wstring& caption, int button, DWORD timeoutMs)
{
    SeenMessageBox seen;
    HWND box = WaitForThreadWindow(
        thread,
        [&](HWND window) {
            return ClassOf(window) == L"#32770" && GetDlgItem(window, kMessageBoxTextId) &&
                   WindowText(window) == caption;
        },
        timeoutMs);
    if (!box)
        return seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, kMessageBoxTextId));
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
        HWND control = GetDlgItem(box, id);
        if (control && IsWindowVisible(control))
            seen.buttons.push_back(id);
    }
    HWND icon = GetDlgItem(box, kMessageBoxIconId);
    DWORD_PTR iconHandle = 0;
    if (icon && IsWindowVisible(icon))
        SendMessageTimeoutW(icon, STM_GETICON, 0, 0, SMTO_BLOCK, 5000, &iconHandle);
    seen.icon = iconHandle != 0;
    PostButtonClick(box, button);
    for (int waited = 0; waited < 5000 && IsWindow(box) && IsWindowVisible(box); waited += 20)
        Sleep(20);
    return seen;
}

}  // namespace ui_testing
