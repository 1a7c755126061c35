#include "ui/about_window.h"

#include "about_window_ids.h"
#include "platform/window_placement.h"
#include "ui/about_pictures.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace ui {

namespace {

constexpr platform::ControlPlacement kLayout[] = {
    {IDC_ABOUT_PICTURE1, {1, 1, 323, 15}},
    {IDC_ABOUT_LOGO, {20, 28, 304, 84}},
    {IDC_ABOUT_LABEL5, {20, 92, 304, 108}},
    {IDC_ABOUT_LABEL2, {20, 122, 200, 138}},
    {IDC_ABOUT_LABEL4, {20, 150, 120, 166}},
    {IDC_ABOUT_PICTURE2, {20, 176, 210, 224}},
    {IDOK, {226, 192, 304, 218}},
};

constexpr COLORREF kPanel = RGB(255, 255, 255);
constexpr COLORREF kFrame = RGB(128, 128, 128);
constexpr COLORREF kText = RGB(64, 64, 64);
constexpr COLORREF kLink = RGB(0, 0, 238);

HFONT MakeFont(int height, int weight, bool underline)
{
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

}  // namespace

TForm4::~TForm4()
{
    if (Handle())
        DestroyWindow(Handle());
    DeleteObject(nameFont_);
    DeleteObject(linkFont_);
}

void TForm4::ShowSplash()
{
    splash_ = true;
    if (!Create(nullptr, IDD_ABOUT))
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "splash window");
    ShowWindow(Handle(), SW_SHOW);
    platform::Window(Handle()).Repaint();
}

INT_PTR TForm4::ShowModal(HWND owner)
{
    splash_ = false;
    return DoModal(owner, IDD_ABOUT);
}

bool TForm4::OnInit()
{
    Label2.Attach(Item(IDC_ABOUT_LABEL2));
    Label4.Attach(Item(IDC_ABOUT_LABEL4));
    Label5.Attach(Item(IDC_ABOUT_LABEL5));
    suiButton1.Attach(Item(IDOK));
    MakeFonts();
    Label4.SetFont(linkFont_);
    Label5.SetText(Label5Caption);
    platform::LayOutDialog(Handle(), kClientWidth, kClientHeight, kLayout);
    platform::CenterOnScreen(Handle());
    Label2.Show(splash_);
    suiButton1.Show(!splash_);
    if (splash_)
        return true;  // the splash takes no focus
    SetFocus(suiButton1.Handle());
    return true;
}

void TForm4::MakeFonts()
{
    if (!nameFont_)
        nameFont_ = MakeFont(24, FW_BOLD, false);
    if (!linkFont_)
        linkFont_ = MakeFont(12, FW_NORMAL, true);
}

void TForm4::Label4Click() { OpenAddress(Handle(), kHomePageAddress); }

bool TForm4::OnCommand(int id, int code, HWND)
{
    if (code != BN_CLICKED && code != STN_CLICKED)
        return false;
    if (id == IDC_ABOUT_LABEL4) {
        Label4Click();
        return true;
    }
    if (id != IDOK && id != IDCANCEL)
        return false;
    if (!splash_)
        End(id);
    return true;
}

void TForm4::PaintPanel(HDC dc) const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    HBRUSH frame = CreateSolidBrush(kFrame);
    FrameRect(dc, &client, frame);
    DeleteObject(frame);
    InflateRect(&client, -1, -1);
    HBRUSH panel = CreateSolidBrush(kPanel);
    FillRect(dc, &client, panel);
    DeleteObject(panel);
}

bool TForm4::OnDrawItem(const DRAWITEMSTRUCT& item) const
{
    switch (item.CtlID) {
    case IDC_ABOUT_LOGO: PaintAboutLogo(item.hDC, item.rcItem, nameFont_); return true;
    case IDC_ABOUT_PICTURE1: PaintAboutBand(item.hDC, item.rcItem); return true;
    case IDC_ABOUT_PICTURE2: PaintAboutSparkles(item.hDC, item.rcItem); return true;
    }
    return false;
}

bool TForm4::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_ERASEBKGND:
        PaintPanel(reinterpret_cast<HDC>(wParam));
        result = TRUE;
        return true;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, kPanel);
        SetTextColor(dc, reinterpret_cast<HWND>(lParam) == Label4.Handle() ? kLink : kText);
        result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
    }
    case WM_DRAWITEM:
        if (!OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            return false;
        result = TRUE;
        return true;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) != Label4.Handle())
            return false;
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        result = TRUE;
        return true;
    }
    return false;
}

}  // namespace ui
