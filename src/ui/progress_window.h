// TProgress, the progress window of long operations that run outside the main window's pages
// (the expiry of old undo sets): stay-on-top, with a file-copy animation, a label, two bars
// that show their percentage, and "取消". It is created once and reused. It never closes
// itself: "取消" and Esc only set Cancelled, which the running operation polls between items
// while it lets messages through with Pump.
#pragma once

#include "platform/controls/button.h"
#include "platform/controls/timer.h"
#include "platform/controls/window.h"
#include "platform/dialog.h"
#include "platform/skin.h"
#include "platform/throttle.h"
#include "removal/progress.h"
#include "ui/percent_bar.h"

#include <array>
#include <string>

namespace ui {

class TProgress : public platform::Dialog, public removal::ProgressWindow {
public:
    static constexpr int kClientWidth = 275;
    static constexpr int kClientHeight = 208;
    static constexpr UINT_PTR kAnimationTimerId = 1;

    TProgress();
    ~TProgress() override;

    // Creates the window, hidden. `owner` is the main window (or nullptr); while the window
    // pumps, the owner's dialog keys are handled as the program's message loop does.
    void FormCreate(HWND owner);

    // The operation's side (removal::ProgressWindow).
    void Open(const std::wstring& caption) override;
    void SetLabel(const std::wstring& text) override;
    void SetBar(int bar, int position, int maximum) override;
    void ShowBar(int bar, bool visible) override;
    bool Cancelled() const override { return cancelled_; }
    // Processes pending messages at most every 15 ms; shows new values at most every 50 ms.
    void Pump() override;
    void Close() override;

    // Shows the latest label and bar values now.
    void Refresh();

    // "取消", and Esc: sets Cancelled and nothing else.
    void suiButton1Click();

    platform::SkinManager suiThemeManager1;
    platform::Window Animate1;
    platform::Window Label1;
    PercentBar suiProgressBar1;
    PercentBar suiProgressBar2;
    platform::Button suiButton1;
    platform::Timer AnimationTimer;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnTimer(UINT_PTR timerId) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct BarValue {
        int position = 0;
        int maximum = 0;
    };

    void ProcessMessages() const;
    void RefreshIfDue();
    bool OnDrawItem(const DRAWITEMSTRUCT& item) const;
    PercentBar& Bar(int bar) { return bar == 0 ? suiProgressBar1 : suiProgressBar2; }

    HWND owner_ = nullptr;
    HFONT titleFont_ = nullptr;
    HCURSOR cursorBeforeOpen_ = nullptr;
    bool cancelled_ = false;
    int frame_ = 0;
    std::wstring label_;
    std::wstring shownLabel_;
    std::array<BarValue, 2> bars_{};
    bool changed_ = false;
    platform::Throttle pumpThrottle_{std::chrono::milliseconds(15)};
    platform::Throttle repaintThrottle_{std::chrono::milliseconds(50)};
};

}  // namespace ui
