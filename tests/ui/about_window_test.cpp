// The about window: as splash (painted at once, "正在载入...", no button) and as the modal
// about box of the menu, with its link to the home page.
#include "ui_test_helpers.h"
#include "window_watcher.h"

#include "about_window_ids.h"
#include "support/test_support.h"
#include "ui/about_window.h"
#include "ui/main_menu.h"

namespace ui_testing {
namespace {

bool Visible(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0; }

COLORREF ScreenPixel(HWND window, int x, int y)
{
    POINT point{x, y};
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

TEST(AboutWindow, SplashIsPaintedAtOnceWithLoadingTextAndWithoutButton)
{
    ui::TForm4 splash;
    splash.ShowSplash();
    HWND window = splash.Handle();
    // No messages pumped: what is on the screen was painted by ShowSplash itself.
    EXPECT_EQ(ScreenPixel(window, 5, 160), RGB(255, 255, 255)) << "white panel";
    EXPECT_EQ(ScreenPixel(window, 0, 100), RGB(128, 128, 128)) << "thin frame";
    const COLORREF band = ScreenPixel(window, 160, 6);
    EXPECT_GT(GetBValue(band), GetRValue(band) + 60) << "blue band at the top";

    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_TRUE(Visible(splash.Label2.Handle()));
    EXPECT_EQ(WindowText(splash.Label2.Handle()), L"正在载入...");
    EXPECT_FALSE(Visible(splash.suiButton1.Handle()));
    EXPECT_EQ(WindowText(splash.Label5.Handle()), L"v.1.01.65  12/20/2008");
    EXPECT_TRUE(GetWindowLongPtrW(splash.Label5.Handle(), GWL_STYLE) & SS_RIGHT);

    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_DLGFRAME)) << "no border";
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 324);
    EXPECT_EQ(bounds.bottom - bounds.top, 232);
    EXPECT_NEAR((bounds.left + bounds.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((bounds.top + bounds.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    SaveScreenshot(window, L"splash_window");

    // Esc or Enter do not take the splash away; only its owner releases it.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    PumpMessages(50);
    EXPECT_TRUE(IsWindowVisible(window));
}

TEST(AboutWindow, MenuAboutBoxIsModalWithOkAndTheLinkOpensTheHomePage)
{
    ui::TForm4 about;
    std::vector<std::wstring> opened;
    bool loadingShown = true, buttonShown = false;
    std::wstring button, link;
    LRESULT handCursor = FALSE;
    HCURSOR cursor = nullptr;
    ThreadWatcher watcher([&](DWORD uiThread) {
        HWND window = WaitForThreadWindow(uiThread, [](HWND w) { return GetDlgItem(w, IDC_ABOUT_LABEL5) != nullptr; });
        if (!window)
            return;
        Sleep(100);
        SaveScreenshot(window, L"about_window");
        loadingShown = Visible(GetDlgItem(window, IDC_ABOUT_LABEL2));
        buttonShown = Visible(GetDlgItem(window, IDOK));
        button = WindowText(GetDlgItem(window, IDOK));
        link = WindowText(GetDlgItem(window, IDC_ABOUT_LABEL4));
        HWND label4 = GetDlgItem(window, IDC_ABOUT_LABEL4);
        SendMessageTimeoutW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(label4), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE),
                            SMTO_BLOCK, 5000, reinterpret_cast<PDWORD_PTR>(&handCursor));
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LABEL4, STN_CLICKED), reinterpret_cast<LPARAM>(label4));
        Sleep(100);
        PostButtonClick(window, IDOK);
    });
    about.OpenAddress = [&](HWND, const std::wstring& address) {
        opened.push_back(address);
        cursor = GetCursor();
    };
    EXPECT_EQ(about.ShowModal(nullptr), IDOK);
    watcher.Join();
    EXPECT_FALSE(loadingShown);
    EXPECT_TRUE(buttonShown);
    EXPECT_EQ(button, L"确 定");
    EXPECT_EQ(link, L"www.kelvo.com");
    EXPECT_EQ(opened, std::vector<std::wstring>{L"http://www.kelvo.com/"});
    EXPECT_TRUE(handCursor);
    EXPECT_EQ(cursor, LoadCursorW(nullptr, IDC_HAND)) << "the link shows the hand cursor";
}

TEST_F(MainWindowTest, AboutAndCheckForUpdatesItemsAreEnabledAndRunTheirHandlers)
{
    std::vector<std::string> calls;
    form.hooks.AboutKelvoTidymate1Click = [&] { calls.push_back("about"); };
    form.hooks.CheckforUpdates1Click = [&] { calls.push_back("updates"); };
    Show();
    HMENU bar = GetMenu(form.Handle());
    for (int id : {ui::AboutKelvoTidymate1, ui::CheckforUpdates1})
        EXPECT_FALSE(GetMenuState(bar, static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) << id;
    SendCommand(ui::AboutKelvoTidymate1);
    SendCommand(ui::CheckforUpdates1);
    EXPECT_EQ(calls, (std::vector<std::string>{"about", "updates"}));
}

}  // namespace
}  // namespace ui_testing
