#include "ui_test_helpers.h"

#include "progress_window_ids.h"
#include "support/test_support.h"
#include "ui/main_menu.h"
#include "ui/progress_window.h"

#include <chrono>
#include <functional>

namespace ui_testing {
namespace {

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

class ProgressWindowTest : public ::testing::Test {
protected:
    void SetUp() override { progress.FormCreate(nullptr); }

    // Calls Pump as an operation does between its items, for about `ms` milliseconds.
    void PumpFor(int ms)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < end) {
            progress.Pump();
            Sleep(5);
        }
    }
    std::wstring BarCaption(int bar) const
    {
        return TextOf(progress.Item(bar == 0 ? IDC_SUI_PROGRESS_BAR1 : IDC_SUI_PROGRESS_BAR2));
    }
    std::wstring LabelText() const { return TextOf(progress.Item(IDC_PROGRESS_LABEL1)); }

    ui::TProgress progress;
};

TEST_F(ProgressWindowTest, OpenShowsTheCaptionOnTopCentredWithBothBarsAtZero)
{
    EXPECT_FALSE(IsWindowVisible(progress.Handle()));
    progress.Open(L"删除旧的撤销文件");
    EXPECT_TRUE(IsWindowVisible(progress.Handle()));
    EXPECT_TRUE(GetWindowLongPtrW(progress.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(TextOf(progress.Handle()), L"删除旧的撤销文件");
    EXPECT_EQ(LabelText(), L"请等待");
    EXPECT_EQ(TextOf(progress.suiButton1.Handle()), L"取消");
    EXPECT_EQ(BarCaption(0), L"0%");
    EXPECT_EQ(BarCaption(1), L"0%");
    EXPECT_TRUE(IsWindowVisible(progress.suiProgressBar2.Handle()));
    EXPECT_FALSE(progress.Cancelled());

    RECT client{};
    GetClientRect(progress.Handle(), &client);
    EXPECT_EQ(client.right, 275);
    EXPECT_EQ(client.bottom, 208);
    RECT window{};
    GetWindowRect(progress.Handle(), &window);
    EXPECT_NEAR((window.left + window.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(ProgressWindowTest, BarsShowTheirPercentageAsCaption)
{
    struct Case {
        int bar;
        int position;
        int maximum;
        const wchar_t* caption;
    };
    const Case cases[] = {
        {0, 0, 0, L"0%"},       {0, 1, 3, L"33%"},     {1, 2, 3, L"66%"},
        {0, 3, 3, L"100%"},     {1, 7, 3, L"100%"},    {0, -2, 3, L"0%"},
        {1, 5, 0, L"0%"},       {0, 1'500'000'000, 2'000'000'000, L"75%"},
    };
    progress.Open(L"删除旧的撤销文件");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bar " << c.bar << ": " << c.position << " of " << c.maximum);
        const std::wstring otherBefore = BarCaption(1 - c.bar);
        progress.SetBar(c.bar, c.position, c.maximum);
        progress.Refresh();
        EXPECT_EQ(BarCaption(c.bar), c.caption);
        EXPECT_EQ(BarCaption(1 - c.bar), otherBefore);
    }
}

TEST_F(ProgressWindowTest, TheLastOfQuickUpdatesIsShownOnceTheRepaintIntervalHasPassed)
{
    progress.Open(L"删除旧的撤销文件");
    progress.SetBar(0, 1, 4);
    progress.SetLabel(L"撤销20090301Temp.zip");
    progress.SetBar(0, 2, 4);
    progress.SetLabel(L"撤销20090301Temp.reg");
    EXPECT_EQ(BarCaption(0), L"0%") << "repainted sooner than 50 ms after the last repaint";
    PumpFor(80);
    EXPECT_EQ(BarCaption(0), L"50%");
    EXPECT_EQ(LabelText(), L"撤销20090301Temp.reg");
}

TEST_F(ProgressWindowTest, CancelButtonEscAndCloseRequestSetCancelledAndLeaveTheWindowOpen)
{
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"取消 clicked", [&] { PostMessageW(progress.suiButton1.Handle(), BM_CLICK, 0, 0); }},
        {"Esc", [&] {
             SetFocus(progress.suiButton1.Handle());
             PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
             PostMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
         }},
        {"close request", [&] { PostMessageW(progress.Handle(), WM_CLOSE, 0, 0); }},
    };
    for (const auto& [way, act] : ways) {
        SCOPED_TRACE(way);
        progress.Open(L"删除旧的撤销文件");
        ASSERT_FALSE(progress.Cancelled());
        act();
        PumpFor(60);
        EXPECT_TRUE(progress.Cancelled());
        EXPECT_TRUE(IsWindowVisible(progress.Handle())) << "only the caller closes the window";
        progress.Close();
        EXPECT_FALSE(IsWindowVisible(progress.Handle()));
    }
}

TEST_F(ProgressWindowTest, ReopeningStartsAfresh)
{
    progress.Open(L"删除旧的撤销文件");
    progress.ShowBar(1, false);
    progress.SetBar(0, 3, 4);
    progress.SetLabel(L"撤销20090301Temp.zip");
    progress.suiButton1Click();
    progress.Close();

    progress.Open(L"另一个操作");
    EXPECT_FALSE(progress.Cancelled());
    EXPECT_EQ(TextOf(progress.Handle()), L"另一个操作");
    EXPECT_EQ(LabelText(), L"请等待");
    EXPECT_EQ(BarCaption(0), L"0%");
    EXPECT_TRUE(IsWindowVisible(progress.suiProgressBar2.Handle()));
    progress.ShowBar(1, false);
    EXPECT_FALSE(IsWindowVisible(progress.suiProgressBar2.Handle()));
    EXPECT_TRUE(IsWindowVisible(progress.suiProgressBar1.Handle()));
}

TEST_F(ProgressWindowTest, PumpLeavesAQuitRequestForTheProgramsLoop)
{
    progress.Open(L"删除旧的撤销文件");
    PostQuitMessage(7);
    PumpFor(40);
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

class ProgressWindowSkinTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        progress.FormCreate(form.Handle());
        form.SkinFollowers.push_back(&progress.suiThemeManager1);
    }
    COLORREF TitleBandPixel() const
    {
        PumpMessages(50);
        HDC dc = GetDC(progress.Handle());
        const COLORREF pixel = GetPixel(dc, 1, 20);
        ReleaseDC(progress.Handle(), dc);
        return pixel;
    }

    ui::TProgress progress;
};

TEST_F(ProgressWindowSkinTest, FollowsTheMainWindowsSkin)
{
    Show();
    progress.Open(L"删除旧的撤销文件");
    SendCommand(ui::MacOS1);
    EXPECT_EQ(progress.suiThemeManager1.UIStyle(), platform::kSkinMacOS);
    EXPECT_EQ(TitleBandPixel(), progress.suiThemeManager1.Palette().header);
    // The style read from the settings file reaches it too.
    form.ApplySkin(platform::kSkinProtein);
    EXPECT_EQ(progress.suiThemeManager1.UIStyle(), platform::kSkinProtein);
    EXPECT_EQ(TitleBandPixel(), progress.suiThemeManager1.Palette().header);
}

TEST_F(ProgressWindowSkinTest, Screenshots)
{
    Show();
    for (int style : {platform::kSkinDeepBlue, platform::kSkinWinXP}) {
        form.ApplySkin(style);
        progress.Open(L"删除旧的撤销文件");
        progress.SetLabel(L"撤销20090301Temp.zip");
        progress.SetBar(0, 5, 12);
        progress.SetBar(1, 3, 4);
        progress.Refresh();
        PumpMessages(300);
        SaveScreenshot(progress.Handle(), L"progress-window-skin" + std::to_wstring(style));
        progress.Close();
    }
}

}  // namespace
}  // namespace ui_testing
