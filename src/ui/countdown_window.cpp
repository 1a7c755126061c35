#include "ui/countdown_window.h"

#include "countdown_window_ids.h"
#include "platform/window_placement.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

namespace ui {

namespace {

constexpr platform::ControlPlacement kLayout[] = {
    {IDC_COUNTDOWN_LABEL1, {0, 14, 394, 46}},
    {IDC_COUNTDOWN_LABEL2, {0, 50, 394, 82}},
    {IDC_COUNTDOWN_PROGRESS_BAR1, {24, 92, 370, 112}},
    {IDCANCEL, {92, 128, 188, 156}},
    {IDC_COUNTDOWN_BUTTON2, {206, 128, 302, 156}},
};

}  // namespace

TForm6::~TForm6()
{
    if (Handle())
        DestroyWindow(Handle());
    DeleteObject(largeFont_);
}

INT_PTR TForm6::ShowModal(HWND owner) { return DoModal(owner, IDD_COUNTDOWN); }

bool TForm6::OnInit()
{
    Label1.Attach(Item(IDC_COUNTDOWN_LABEL1));
    Label2.Attach(Item(IDC_COUNTDOWN_LABEL2));
    ProgressBar1.Attach(Item(IDC_COUNTDOWN_PROGRESS_BAR1));
    Button1.Attach(Item(IDCANCEL));
    Button2.Attach(Item(IDC_COUNTDOWN_BUTTON2));
    if (!largeFont_)
        largeFont_ = CreateFontW(-24, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    Label1.SetFont(largeFont_);
    Label2.SetFont(largeFont_);
    platform::LayOutDialog(Handle(), kClientWidth, kClientHeight, kLayout);
    platform::CenterOnScreen(Handle());

    closed_ = false;
    if (CountdownLength == 0)
        CountdownLength = kDefaultLength;
    remaining_ = CountdownLength;
    Label2.SetText(std::to_wstring(CountdownLength) + L" 秒后关闭");
    ProgressBar1.Send(PBM_SETRANGE32, 0, CountdownLength);
    ProgressBar1.Send(PBM_SETPOS, 0);
    Timer1 = platform::Timer(kTimerId, TimerInterval);
    Timer1.Attach(Handle());
    Timer1.SetEnabled(true);

    SendMessageW(Handle(), DM_SETDEFID, IDC_COUNTDOWN_BUTTON2, 0);
    SetFocus(Button2.Handle());
    return true;
}

void TForm6::Timer1Timer()
{
    if (closed_) {
        Timer1.SetEnabled(false);
        return;
    }
    if (remaining_ < 1) {
        CloseWith(IDOK);
        return;
    }
    ProgressBar1.Send(PBM_SETPOS, static_cast<WPARAM>(CountdownLength - remaining_));
    Label2.SetText(std::to_wstring(remaining_) + L" 秒");
    DefaultBeep();
    --remaining_;
}

void TForm6::CloseWith(INT_PTR result)
{
    closed_ = true;
    Timer1.SetEnabled(false);
    End(result);
}

bool TForm6::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDCANCEL:  // "立即关闭", and Esc
        CloseWith(IDOK);
        return true;
    case IDC_COUNTDOWN_BUTTON2:  // "取消", and Enter
    case IDOK:
        CloseWith(IDCANCEL);
        return true;
    }
    return false;
}

bool TForm6::OnTimer(UINT_PTR timerId)
{
    if (timerId != kTimerId)
        return false;
    Timer1Timer();
    return true;
}

bool TForm6::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result)
{
    if (message != WM_CLOSE)
        return false;
    // The close box and Alt+F4 cancel; only the button and Esc shut down at once.
    CloseWith(IDCANCEL);
    result = 0;
    return true;
}

}  // namespace ui
