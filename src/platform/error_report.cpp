#include "platform/error_report.h"

#include "platform/app_title.h"
#include "platform/errors.h"
#include "platform/message_dialog.h"

#include <string>

namespace platform {

namespace {

HWND g_owner = nullptr;
SkinManager* g_skin = nullptr;
// An error raised while an error is being shown (a failing repaint, say) is not shown again,
// or the messages would nest without end.
bool g_showing = false;

void Show(const std::wstring& text) noexcept
{
    if (g_showing)
        return;
    g_showing = true;
    try {
        HWND owner = IsWindow(g_owner) ? g_owner : nullptr;
        MessageDialog dialog;
        dialog.SetSkin(g_skin);
        dialog.Execute(owner, text, kAppTitle);
    } catch (...) {
        MessageBoxW(nullptr, text.c_str(), kAppTitle, MB_OK | MB_ICONERROR);
    }
    g_showing = false;
}

}  // namespace

void SetErrorMessageOwner(HWND owner, SkinManager* skin)
{
    g_owner = owner;
    g_skin = skin;
}

void ShowErrorMessage(const std::exception& error) noexcept
{
    std::wstring text;
    try {
        text = ErrorText(error);
    } catch (...) {
    }
    Show(text);
}

void ShowUnknownErrorMessage() noexcept
{
    Show(L"发生了一个未知的错误.");
}

}  // namespace platform
