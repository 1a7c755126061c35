#include "ui/update_window.h"

#include "platform/window_placement.h"
#include "platform/app_title.h"
#include "update_window_ids.h"

#include <algorithm>

namespace ui {

namespace {

constexpr platform::ControlPlacement kLayout[] = {
    {IDC_UPDATE_HEADING, {0, 0, 320, 44}},
    {IDC_UPDATE_TEXT, {20, 58, 300, 92}},
    {IDOK, {120, 108, 200, 136}},
};

}  // namespace

TForm7::TForm7() { SetSkin(&suiThemeManager1); }

TForm7::~TForm7()
{
    if (Handle())
        DestroyWindow(Handle());
    DeleteObject(headingFont_);
}

INT_PTR TForm7::ShowModal(HWND owner)
{
    EndProgramRequested = false;
    return DoModal(owner, IDD_UPDATE);
}

bool TForm7::OnInit()
{
    suiButton1.Attach(Item(IDOK));
    if (!headingFont_)
        headingFont_ = CreateFontW(-18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    platform::LayOutDialog(Handle(), kClientWidth, kClientHeight, kLayout);
    platform::CenterOnScreen(Handle());
    SetFocus(suiButton1.Handle());
    return true;
}

void TForm7::suiButton1Click()
{
    const HCURSOR before = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    try {
        app::CheckForUpdates(Addresses, ProgramFolder, AboutVersionText ? AboutVersionText() : L"", *this);
    } catch (...) {
        SetCursor(before);
        End(IDOK);
        throw;
    }
    SetCursor(before);
    End(IDOK);
}

void TForm7::ShowMessage(const std::wstring& text)
{
    MessageBoxW(Handle(), text.c_str(), platform::kAppTitle, MB_OK);
}

bool TForm7::AskYesNo(const std::wstring& text, const std::wstring& caption)
{
    return MessageBoxW(Handle(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void TForm7::OpenPage(const std::wstring& address) { OpenAddress(Handle(), address); }

void TForm7::EndProgram() { EndProgramRequested = true; }

bool TForm7::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDOK: suiButton1Click(); return true;
    case IDCANCEL: End(IDCANCEL); return true;
    }
    return false;
}

bool TForm7::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    if (message != WM_DRAWITEM)
        return false;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item.CtlID != IDC_UPDATE_HEADING)
        return false;
    suiThemeManager1.PaintHeader(item.hDC, item.rcItem, L"检查更新", headingFont_, L"", headingFont_);
    result = TRUE;
    return true;
}

}  // namespace ui
