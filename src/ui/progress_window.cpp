#include "ui/progress_window.h"

#include "progress_window_ids.h"
#include "platform/window_placement.h"
#include "ui/copy_animation.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace ui {

namespace {

constexpr wchar_t kWaitText[] = L"请等待";
constexpr UINT kAnimationIntervalMs = 60;

// Top to bottom in the 275 x 208 client area.
constexpr platform::ControlPlacement kLayout[] = {
    {IDC_PROGRESS_TITLE, {0, 0, 275, 34}},
    {IDC_ANIMATE1, {12, 40, 263, 92}},
    {IDC_PROGRESS_LABEL1, {12, 98, 263, 114}},
    {IDC_SUI_PROGRESS_BAR1, {12, 118, 263, 138}},
    {IDC_SUI_PROGRESS_BAR2, {12, 144, 263, 164}},
    {IDCANCEL, {98, 172, 178, 198}},
};

bool ValidBar(int bar) { return bar == 0 || bar == 1; }

}  // namespace

TProgress::TProgress() : AnimationTimer(kAnimationTimerId, kAnimationIntervalMs) { SetSkin(&suiThemeManager1); }

TProgress::~TProgress()
{
    if (Handle())
        DestroyWindow(Handle());
    DeleteObject(titleFont_);
}

void TProgress::FormCreate(HWND owner)
{
    owner_ = owner;
    if (!Create(owner, IDD_PROGRESS))
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "progress window");
}

bool TProgress::OnInit()
{
    Animate1.Attach(Item(IDC_ANIMATE1));
    Label1.Attach(Item(IDC_PROGRESS_LABEL1));
    suiProgressBar1.Attach(Item(IDC_SUI_PROGRESS_BAR1));
    suiProgressBar2.Attach(Item(IDC_SUI_PROGRESS_BAR2));
    suiButton1.Attach(Item(IDCANCEL));
    AnimationTimer.Attach(Handle());
    titleFont_ = CreateFontW(-14, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    platform::LayOutDialog(Handle(), kClientWidth, kClientHeight, kLayout);
    platform::CenterOnScreen(Handle());
    label_ = kWaitText;
    Refresh();
    return false;
}

void TProgress::Open(const std::wstring& caption)
{
    cancelled_ = false;
    SetWindowTextW(Handle(), caption.c_str());
    InvalidateRect(Item(IDC_PROGRESS_TITLE), nullptr, FALSE);
    label_ = kWaitText;
    bars_ = {};
    suiProgressBar1.Show(true);
    suiProgressBar2.Show(true);
    frame_ = 0;
    AnimationTimer.SetEnabled(true);
    platform::CenterOnScreen(Handle());
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetFocus(suiButton1.Handle());
    Refresh();
    cursorBeforeOpen_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void TProgress::SetLabel(const std::wstring& text)
{
    label_ = text;
    changed_ = true;
    RefreshIfDue();
}

void TProgress::SetBar(int bar, int position, int maximum)
{
    if (!ValidBar(bar))
        return;
    bars_[static_cast<size_t>(bar)] = {position, maximum};
    changed_ = true;
    RefreshIfDue();
}

void TProgress::ShowBar(int bar, bool visible)
{
    if (ValidBar(bar))
        Bar(bar).Show(visible);
}

void TProgress::Pump()
{
    if (pumpThrottle_.Due())
        ProcessMessages();
    RefreshIfDue();
}

void TProgress::Close()
{
    AnimationTimer.SetEnabled(false);
    ShowWindow(Handle(), SW_HIDE);
    SetCursor(cursorBeforeOpen_ ? cursorBeforeOpen_ : LoadCursorW(nullptr, IDC_ARROW));
    cursorBeforeOpen_ = nullptr;
}

void TProgress::Refresh()
{
    if (label_ != shownLabel_) {
        Label1.SetText(label_);
        shownLabel_ = label_;
    }
    for (int bar = 0; bar < 2; ++bar)
        Bar(bar).SetPosition(bars_[static_cast<size_t>(bar)].position, bars_[static_cast<size_t>(bar)].maximum);
    changed_ = false;
    repaintThrottle_.Restart();
    UpdateWindow(Handle());
}

void TProgress::RefreshIfDue()
{
    if (changed_ && repaintThrottle_.Due())
        Refresh();
}

void TProgress::ProcessMessages() const
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Leave the quit for the program's message loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsDialogMessageW(Handle(), &message))
            continue;
        if (owner_ && IsWindow(owner_) && IsDialogMessageW(owner_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void TProgress::suiButton1Click() { cancelled_ = true; }

bool TProgress::OnCommand(int id, int code, HWND)
{
    if (id != IDCANCEL || (code != BN_CLICKED && code != 1))
        return false;
    suiButton1Click();
    return true;
}

bool TProgress::OnTimer(UINT_PTR timerId)
{
    if (timerId != kAnimationTimerId)
        return false;
    frame_ = (frame_ + 1) % kCopyFrameCount;
    InvalidateRect(Animate1.Handle(), nullptr, FALSE);
    RefreshIfDue();
    return true;
}

bool TProgress::OnDrawItem(const DRAWITEMSTRUCT& item) const
{
    const platform::SkinPalette& palette = suiThemeManager1.Palette();
    switch (item.CtlID) {
    case IDC_PROGRESS_TITLE: {
        wchar_t caption[256] = {};
        GetWindowTextW(Handle(), caption, 256);
        suiThemeManager1.PaintHeader(item.hDC, item.rcItem, caption, titleFont_, L"", titleFont_);
        return true;
    }
    case IDC_ANIMATE1:
        PaintCopyFrame(item.hDC, item.rcItem, frame_, palette);
        return true;
    case IDC_SUI_PROGRESS_BAR1:
        suiProgressBar1.Paint(item, palette);
        return true;
    case IDC_SUI_PROGRESS_BAR2:
        suiProgressBar2.Paint(item, palette);
        return true;
    }
    return false;
}

bool TProgress::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_DRAWITEM:
        if (!OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return false;
        result = TRUE;
        return true;
    case WM_NCHITTEST: {
        // The title band moves the window, as a caption bar would.
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ScreenToClient(Handle(), &point);
        if (point.y < kLayout[0].bounds.bottom && point.y >= 0) {
            result = HTCAPTION;
            return true;
        }
        return false;
    }
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != suiButton1.Handle())
            return false;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace ui
