// TForm6, the shutdown countdown: "Windows 将在" / "10 秒后关闭" with a bar, one beep a
// second, and OK (shut down) once the time has run out. "立即关闭" (also Esc) gives OK,
// "取消" (also Enter and the close box) gives Cancel. Not skinned; stays on top.
#pragma once

#include "platform/controls/button.h"
#include "platform/controls/timer.h"
#include "platform/controls/window.h"
#include "platform/dialog.h"

#include <functional>

namespace ui {

class TForm6 : public platform::Dialog {
public:
    static constexpr int kClientWidth = 394;
    static constexpr int kClientHeight = 171;
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr int kDefaultLength = 10;

    TForm6() = default;
    ~TForm6() override;

    // Shows the window modally and counts down from CountdownLength; IDOK or IDCANCEL.
    INT_PTR ShowModal(HWND owner);

    // Seconds to count down; 0 means 10.
    int CountdownLength = 0;
    // Milliseconds between ticks; tests shorten it.
    UINT TimerInterval = 1000;
    // Sounds the default beep; a seam for tests.
    std::function<void()> DefaultBeep = [] { MessageBeep(MB_OK); };

    int Remaining() const { return remaining_; }
    // One tick of Timer1.
    void Timer1Timer();

    platform::Window Label1;
    platform::Window Label2;
    platform::Window ProgressBar1;
    platform::Button Button1;
    platform::Button Button2;
    platform::Timer Timer1{kTimerId, 1000};

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnTimer(UINT_PTR timerId) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void CloseWith(INT_PTR result);

    HFONT largeFont_ = nullptr;
    int remaining_ = 0;
    bool closed_ = false;
};

}  // namespace ui
