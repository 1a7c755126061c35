#include "ui_test_helpers.h"

#include "resource.h"
#include "support/test_support.h"

#include <array>
#include <chrono>

namespace ui_testing {

namespace {

constexpr std::array<int, 3> kMessageButtons = {IDC_MESSAGE_BUTTON1, IDC_MESSAGE_BUTTON2, IDC_MESSAGE_BUTTON3};

std::wstring TextOf(HWND window)
{
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, nullptr);
    return buffer;
}

HWND FindMessageDialog(DWORD thread)
{
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM param) -> BOOL {
            if (IsWindowVisible(window) && GetDlgItem(window, IDC_MESSAGE_TEXT)) {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> VisibleButtons(HWND dialog)
{
    std::vector<HWND> buttons;
    for (int id : kMessageButtons) {
        HWND button = GetDlgItem(dialog, id);
        if (button && (GetWindowLongPtrW(button, GWL_STYLE) & WS_VISIBLE))
            buttons.push_back(button);
    }
    return buttons;
}

}  // namespace

bool WaitDialogGone(HWND dialog, int ms)
{
    for (int waited = 0; waited < ms; waited += 20) {
        if (!IsWindow(dialog) || !IsWindowVisible(dialog))
            return true;
        Sleep(20);
    }
    return false;
}

void ClickDialogButton(HWND dialog, size_t index)
{
    std::vector<HWND> buttons = VisibleButtons(dialog);
    if (index < buttons.size())
        SendMessageTimeoutW(buttons[index], BM_CLICK, 0, 0, SMTO_BLOCK, 5000, nullptr);
}

void PressDialogKey(HWND dialog, WORD key)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    PostMessageW(info.hwndFocus, WM_KEYDOWN, key, 1);
    PostMessageW(info.hwndFocus, WM_KEYUP, key, 0xC0000001);
}

void PumpMessages(DWORD ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (std::chrono::steady_clock::now() < end);
}

void SaveScreenshot(HWND window, const std::wstring& name)
{
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, bounds.left, bounds.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) & ~3u);
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    bytes.append(static_cast<const char*>(bits), imageSize);
    testing_support::WriteFileBytes(L"C:\\tidymate-screens\\" + name + L".bmp", bytes);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

DialogWatcher::DialogWatcher(Action action) : uiThread_(GetCurrentThreadId())
{
    thread_ = std::thread([this, action] { Run(action); });
}

DialogWatcher::~DialogWatcher()
{
    if (thread_.joinable())
        thread_.join();
}

const SeenDialog& DialogWatcher::Seen()
{
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void DialogWatcher::Run(Action action)
{
    HWND dialog = nullptr;
    for (int waited = 0; waited < 10000 && !dialog; waited += 20) {
        dialog = FindMessageDialog(uiThread_);
        if (!dialog)
            Sleep(20);
    }
    if (!dialog)
        return;
    Sleep(100);  // let the dialog finish its first paint
    seen_.found = true;
    seen_.caption = TextOf(dialog);
    seen_.text = TextOf(GetDlgItem(dialog, IDC_MESSAGE_TEXT));
    for (HWND button : VisibleButtons(dialog))
        seen_.buttons.push_back(TextOf(button));
    GetWindowRect(dialog, &seen_.bounds);
    action(dialog, seen_);
    seen_.closedByAction = WaitDialogGone(dialog, 3000);
    if (!seen_.closedByAction) {
        ClickDialogButton(dialog, 0);
        WaitDialogGone(dialog, 3000);
    }
}

DialogWatcher::Action DialogWatcher::ClickButton(size_t index)
{
    return [index](HWND dialog, const SeenDialog&) { ClickDialogButton(dialog, index); };
}

DialogWatcher::Action DialogWatcher::Screenshot(const std::wstring& name, size_t thenClick)
{
    return [name, thenClick](HWND dialog, const SeenDialog&) {
        SaveScreenshot(dialog, name);
        ClickDialogButton(dialog, thenClick);
    };
}

void MainWindowTest::SetUp()
{
    form.PlaySystemSound = [this](UINT type) { beeps.push_back(type); };
    form.FormCreate();
}

void MainWindowTest::Show()
{
    form.FormShow();
    PumpMessages(100);
}

int MainWindowTest::VisiblePage() const
{
    int visible = -1;
    for (int index = 0; index <= 15; ++index) {
        if (!form.PageControl1.Contains(index))
            continue;
        if (GetWindowLongPtrW(form.PageControl1.PageAt(index).Handle(), GWL_STYLE) & WS_VISIBLE) {
            EXPECT_EQ(visible, -1) << "pages " << visible << " and " << index << " are both shown";
            visible = index;
        }
    }
    return visible;
}

void MainWindowTest::SendCommand(int id)
{
    SendMessageW(form.Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void MainWindowTest::ClickPageButton(int pageIndex, int id)
{
    HWND page = form.PageControl1.PageAt(pageIndex).Handle();
    HWND button = GetDlgItem(page, id);
    ASSERT_NE(button, nullptr) << "no control " << id << " on page " << pageIndex;
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

}  // namespace ui_testing
