#include "platform/message_dialog.h"

#include "platform/controls/button.h"
#include "resource.h"

#include <algorithm>
#include <array>
#include <system_error>

namespace platform {

namespace {

constexpr std::array<int, 3> kButtonIds = {IDC_MESSAGE_BUTTON1, IDC_MESSAGE_BUTTON2, IDC_MESSAGE_BUTTON3};
constexpr int kMaxTextWidth = 440;
constexpr int kMinClientWidth = 260;

RECT DialogUnits(HWND dialog, int width, int height)
{
    RECT rect{0, 0, width, height};
    MapDialogRect(dialog, &rect);
    return rect;
}

LPCWSTR SystemIconName(int icon)
{
    switch (icon) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

}  // namespace

MessageDialog::MessageDialog() { RestoreDefaults(); }

std::vector<MessageButton> MessageDialog::ButtonLayout(int buttons)
{
    switch (buttons) {
    case MB_OKCANCEL: return {{L"确定", IDOK}, {L"取消", IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{L"中止", IDABORT}, {L"重试", IDRETRY}, {L"忽略", IDIGNORE}};
    case MB_YESNOCANCEL: return {{L"是", IDYES}, {L"否", IDNO}, {L"取消", IDCANCEL}};
    case MB_YESNO: return {{L"是", IDYES}, {L"否", IDNO}};
    case MB_RETRYCANCEL: return {{L"重试", IDRETRY}, {L"取消", IDCANCEL}};
    default: return {{L"确定", IDOK}};
    }
}

void MessageDialog::RestoreDefaults()
{
    buttons_ = ButtonLayout(MB_OK);
    icon_ = 0;
}

int MessageDialog::Execute(HWND owner, const std::wstring& text, const std::wstring& caption)
{
    text_ = text;
    caption_ = caption;
    const INT_PTR result = DoModal(owner, IDD_MESSAGE);
    if (result <= 0)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "message dialog");
    return static_cast<int>(result);
}

int MessageDialog::CancelResult() const
{
    for (const MessageButton& button : buttons_) {
        if (button.result == IDCANCEL)
            return IDCANCEL;
    }
    // A lone button is what Esc means too, as in the system's own message box.
    return buttons_.size() == 1 ? buttons_.front().result : 0;
}

bool MessageDialog::OnInit()
{
    SetWindowTextW(Handle(), caption_.c_str());
    Window(Item(IDC_MESSAGE_TEXT)).SetText(text_);
    for (size_t i = 0; i < kButtonIds.size(); ++i) {
        Button button(Item(kButtonIds[i]));
        button.Show(i < buttons_.size());
        if (i < buttons_.size())
            button.SetText(buttons_[i].caption);
    }
    if (CancelResult() == 0)
        EnableMenuItem(GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    Arrange();
    SendMessageW(Handle(), DM_SETDEFID, IDC_MESSAGE_BUTTON1, 0);
    SetFocus(Item(IDC_MESSAGE_BUTTON1));
    return true;
}

void MessageDialog::Arrange()
{
    const RECT margin = DialogUnits(Handle(), 8, 8);
    const RECT buttonSize = DialogUnits(Handle(), 54, 15);
    const RECT gap = DialogUnits(Handle(), 4, 4);
    const int buttonWidth = buttonSize.right;
    const int buttonHeight = buttonSize.bottom;

    Window textWindow(Item(IDC_MESSAGE_TEXT));
    RECT textRect{0, 0, kMaxTextWidth, 0};
    HDC dc = GetDC(Handle());
    HGDIOBJ oldFont = SelectObject(dc, textWindow.Font());
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &textRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, oldFont);
    ReleaseDC(Handle(), dc);

    int iconSize = 0;
    if (LPCWSTR iconName = SystemIconName(icon_)) {
        iconSize = GetSystemMetrics(SM_CXICON);
        HWND icon = CreateWindowExW(0, L"STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, margin.right, margin.bottom,
                                    iconSize, iconSize, Handle(), nullptr, nullptr, nullptr);
        SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, iconName)), 0);
        iconSize += margin.right;
    }

    const int count = static_cast<int>(buttons_.size());
    const int buttonsWidth = count * buttonWidth + (count - 1) * gap.right;
    const int textHeight = std::max<int>(textRect.bottom, iconSize);
    const int clientWidth = std::max({kMinClientWidth, static_cast<int>(textRect.right + iconSize + 2 * margin.right),
                                      static_cast<int>(buttonsWidth + 2 * margin.right)});
    const int buttonsTop = margin.bottom + textHeight + 2 * margin.bottom;
    const int clientHeight = buttonsTop + buttonHeight + margin.bottom;

    textWindow.Move(RECT{margin.right + iconSize, margin.bottom, clientWidth - margin.right, margin.bottom + textHeight});
    int left = (clientWidth - buttonsWidth) / 2;
    for (int i = 0; i < count; ++i) {
        Window(Item(kButtonIds[i])).Move(RECT{left, buttonsTop, left + buttonWidth, buttonsTop + buttonHeight});
        left += buttonWidth + gap.right;
    }

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(GetParent(Handle()), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    SetWindowPos(Handle(), nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool MessageDialog::OnCommand(int id, int code, HWND control)
{
    if (id == IDCANCEL) {
        if (int result = CancelResult())
            End(result);
        return true;
    }
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (id == kButtonIds[i]) {
            End(buttons_[i].result);
            return true;
        }
    }
    return false;
}

int ShowMessageBox(MessageDialog& dialog, HWND owner, const std::wstring& text, const std::wstring& caption,
                   int buttons, int icon)
{
    dialog.SetButtons(buttons);
    dialog.SetIcon(icon);
    const int result = dialog.Execute(owner, text, caption);
    dialog.RestoreDefaults();
    return result;
}

}  // namespace platform
