// The shutdown countdown: its timeline second by second, its keys and buttons, and its
// silence once it has closed.
#include "ui_test_helpers.h"
#include "window_watcher.h"

#include "countdown_window_ids.h"
#include "support/test_support.h"
#include "ui/countdown_window.h"

#include <commctrl.h>

#include <atomic>
#include <chrono>

namespace ui_testing {
namespace {

struct TState {
    std::wstring label2;
    int bar = 0;
    int beeps = 0;
    bool operator==(const TState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TState& state)
{
    return out << '"' << testing_support::Utf8(state.label2) << "\" bar " << state.bar << " beeps " << state.beeps;
}

class CountdownWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.DefaultBeep = [this] { ++beeps; };
    }

    TState StateOf(HWND window) const
    {
        DWORD_PTR position = 0;
        SendMessageTimeoutW(GetDlgItem(window, IDC_COUNTDOWN_PROGRESS_BAR1), PBM_GETPOS, 0, 0, SMTO_BLOCK, 5000,
                            &position);
        return {WindowText(GetDlgItem(window, IDC_COUNTDOWN_LABEL2)), static_cast<int>(position), beeps.load()};
    }

    ui::TForm6 form;
    std::atomic<int> beeps{0};
};

TEST_F(CountdownWindowTest, CountsDownTenSecondsWithABeepEachAndEndsWithOk)
{
    form.TimerInterval = 3600 * 1000;  // the test drives the ticks itself
    std::vector<TState> seen;
    HWND shown = nullptr;
    RECT client{}, window{};
    LONG_PTR exStyle = 0;
    std::wstring label1, button1, button2;
    LRESULT defId = 0;
    ThreadWatcher watcher([&](DWORD uiThread) {
        shown = WaitForDialog(uiThread, L"警告");
        if (!shown)
            return;
        Sleep(100);
        SaveScreenshot(shown, L"countdown_window");
        GetClientRect(shown, &client);
        GetWindowRect(shown, &window);
        exStyle = GetWindowLongPtrW(shown, GWL_EXSTYLE);
        label1 = WindowText(GetDlgItem(shown, IDC_COUNTDOWN_LABEL1));
        button1 = WindowText(GetDlgItem(shown, IDCANCEL));
        button2 = WindowText(GetDlgItem(shown, IDC_COUNTDOWN_BUTTON2));
        SendMessageTimeoutW(shown, DM_GETDEFID, 0, 0, SMTO_BLOCK, 5000, reinterpret_cast<PDWORD_PTR>(&defId));
        seen.push_back(StateOf(shown));
        for (int tick = 1; tick <= 11 && IsWindowVisible(shown); ++tick) {
            SendMessageTimeoutW(shown, WM_TIMER, ui::TForm6::kTimerId, 0, SMTO_BLOCK, 5000, nullptr);
            if (IsWindow(shown) && IsWindowVisible(shown))
                seen.push_back(StateOf(shown));
        }
    });
    const INT_PTR result = form.ShowModal(nullptr);
    watcher.Join();
    ASSERT_NE(shown, nullptr) << "no window titled 警告";

    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(beeps, 10);
    const std::vector<TState> timeline = {
        {L"10 秒后关闭", 0, 0}, {L"10 秒", 0, 1}, {L"9 秒", 1, 2}, {L"8 秒", 2, 3}, {L"7 秒", 3, 4}, {L"6 秒", 4, 5},
        {L"5 秒", 5, 6},       {L"4 秒", 6, 7},  {L"3 秒", 7, 8}, {L"2 秒", 8, 9}, {L"1 秒", 9, 10},
    };
    EXPECT_EQ(seen, timeline);

    EXPECT_EQ(label1, L"Windows 将在");
    EXPECT_EQ(button1, L"立即关闭");
    EXPECT_EQ(button2, L"取消");
    EXPECT_EQ(LOWORD(defId), IDC_COUNTDOWN_BUTTON2) << "Enter presses 取消";
    EXPECT_EQ(client.right, 394);
    EXPECT_EQ(client.bottom, 171);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(CountdownWindowTest, TheRealTimerRunsOutAfterElevenTicks)
{
    form.TimerInterval = 30;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(form.ShowModal(nullptr), IDOK);
    EXPECT_EQ(beeps, 10);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(11 * 30 - 15));
}

TEST_F(CountdownWindowTest, EscShutsDownAtOnceWhileEnterAndTheCloseBoxCancel)
{
    struct Case {
        const char* way;
        std::function<void(HWND)> act;
        INT_PTR result;
    };
    auto press = [](WORD key) {
        return [key](HWND window) {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
            PostMessageW(info.hwndFocus, WM_KEYDOWN, key, 1);
            PostMessageW(info.hwndFocus, WM_KEYUP, key, 0xC0000001);
        };
    };
    const Case cases[] = {
        {"Esc", press(VK_ESCAPE), IDOK},
        {"Enter", press(VK_RETURN), IDCANCEL},
        {"立即关闭", [](HWND window) { PostMessageW(GetDlgItem(window, IDCANCEL), BM_CLICK, 0, 0); }, IDOK},
        {"取消", [](HWND window) { PostMessageW(GetDlgItem(window, IDC_COUNTDOWN_BUTTON2), BM_CLICK, 0, 0); }, IDCANCEL},
        {"close box", [](HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL},
    };
    form.TimerInterval = 3600 * 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        bool found = false;
        ThreadWatcher watcher([&](DWORD uiThread) {
            HWND window = WaitForDialog(uiThread, L"警告");
            found = window != nullptr;
            if (found)
                c.act(window);
        });
        EXPECT_EQ(form.ShowModal(nullptr), c.result);
        watcher.Join();
        EXPECT_TRUE(found);
    }
    EXPECT_EQ(beeps, 0);
}

TEST_F(CountdownWindowTest, NoBeepAfterCancelAndTheNextShowingStartsAgain)
{
    form.TimerInterval = 40;
    TState again;
    ThreadWatcher watcher([&](DWORD uiThread) {
        HWND window = WaitForDialog(uiThread, L"警告");
        while (window && beeps < 3)
            Sleep(5);
        if (window)
            PostMessageW(GetDlgItem(window, IDC_COUNTDOWN_BUTTON2), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(form.ShowModal(nullptr), IDCANCEL);
    watcher.Join();
    const int beepsAtClose = beeps;
    EXPECT_GE(beepsAtClose, 3);
    EXPECT_LT(beepsAtClose, 10);
    PumpMessages(400);
    EXPECT_EQ(beeps, beepsAtClose) << "beeped after the window had closed";

    form.TimerInterval = 3600 * 1000;
    ThreadWatcher second([&](DWORD uiThread) {
        HWND window = WaitForDialog(uiThread, L"警告");
        if (!window)
            return;
        again = StateOf(window);
        PostMessageW(GetDlgItem(window, IDC_COUNTDOWN_BUTTON2), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(form.ShowModal(nullptr), IDCANCEL);
    second.Join();
    EXPECT_EQ(again, (TState{L"10 秒后关闭", 0, beepsAtClose}));
    EXPECT_EQ(form.Remaining(), 10);
}

}  // namespace
}  // namespace ui_testing
