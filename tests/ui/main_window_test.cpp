#include "ui_test_helpers.h"

#include "main_window_ids.h"
#include "platform/errors.h"
#include "support/test_support.h"
#include "ui/main_menu.h"

#include <gmock/gmock.h>

namespace ui_testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct MenuLine {
    std::wstring caption;  // "-" for a separator
    int id;
    bool operator==(const MenuLine&) const = default;
};

void PrintTo(const MenuLine& line, std::ostream* out) { *out << testing_support::Utf8(line.caption) << " #" << line.id; }

std::wstring MenuText(HMENU menu, int position)
{
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

std::vector<MenuLine> ItemsOf(HMENU popup)
{
    std::vector<MenuLine> lines;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        const bool separator = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR;
        const int id = static_cast<int>(GetMenuItemID(popup, i));
        lines.push_back({separator ? L"-" : MenuText(popup, i), separator ? 0 : id});
    }
    return lines;
}

bool TopMenuEnabled(HWND window, const std::wstring& caption)
{
    HMENU bar = GetMenu(window);
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        if (MenuText(bar, i) == caption)
            return !(GetMenuState(bar, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED));
    }
    ADD_FAILURE() << "no menu " << testing_support::Utf8(caption);
    return false;
}

bool ItemChecked(HWND window, int id)
{
    return GetMenuState(GetMenu(window), static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED;
}

TEST_F(MainWindowTest, FrameHasFixedClientSizeTitleAndStartsOnWelcomePage)
{
    Show();
    RECT client{};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 646);
    EXPECT_EQ(client.bottom, 552);
    wchar_t title[64] = {};
    GetWindowTextW(form.Handle(), title, 64);
    EXPECT_STREQ(title, L"Kelvo Tidymate");
    EXPECT_FALSE(GetWindowLongPtrW(form.Handle(), GWL_STYLE) & WS_THICKFRAME);

    RECT window{};
    GetWindowRect(form.Handle(), &window);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 1);

    EXPECT_EQ(VisiblePage(), 0);
    EXPECT_EQ(form.TodayUndoName.substr(0, 2), L"撤销");
    EXPECT_EQ(form.TodayUndoName.size(), 10u);
    EXPECT_EQ(form.WindowsDir.back(), L'\\');
}

TEST_F(MainWindowTest, MenuHasEveryItemWithItsCaptionAndCommandId)
{
    Show();
    const std::vector<std::pair<std::wstring, std::vector<MenuLine>>> expected = {
        {L"程序",
         {{L"清洁计算机(&C)", ui::CleanPC1}, {L"清除历史记录(&R)", ui::RemoveTracks1},
          {L"运行自定义清洁(&U)", ui::RunCleanerSettings1}, {L"-", 0},
          {L"打印无用文件列表(&P)", ui::PrintList1}, {L"移除无用文件(&E)", ui::DeleteJunkFiles1}, {L"-", 0},
          {L"转到开始(&G)", ui::GotoStart1}, {L"转到清洁设置(&O)", ui::GotoCleanerSettings1},
          {L"转到更多的清洁工具(&T)", ui::GotoCleaningAccessories1}, {L"转到撤销(&N)", ui::RestoreRemovedFiles1},
          {L"-", 0}, {L"退出(&X)", ui::Exit1}}},
        {L"自动扫描",
         {{L"每天(&A)", ui::EnableDailyScan1}, {L"每周(&W)", ui::EnableWeeklyScan1},
          {L"每两周(&T)", ui::PerformScanTwiceaMonth1}, {L"每月(&M)", ui::EnableMonthlyScan1},
          {L"不执行(&D)", ui::DoNotPerformScan1}, {L"-", 0}, {L"清洁计算机(&C)", ui::CleanPC2},
          {L"清除历史记录(&R)", ui::RemoveTracks2}, {L"运行自定义清洁(&U)", ui::RunSettings2}, {L"-", 0},
          {L"完成后关闭(&L)", ui::ClosewhenFinished1}, {L"-", 0},
          {L"完成后关闭计算机(&S)", ui::ShutDownwhenFinished1}}},
        {L"声音", {{L"打开音效(&T)", ui::SoundisOn1}}},
        {L"更换皮肤",
         {{L"MacOS(&M)", ui::MacOS1}, {L"WinXP(&W)", ui::WinXP1}, {L"深蓝(&Y)", ui::DeepBlue1},
          {L"Protein(&P)", ui::Protein1}, {L"蓝玻璃(&Z)", ui::BlueGlass1}}},
        {L"设置", {{L"更改设置(&C)", ui::ChangeSettings1}}},
        {L"帮助",
         {{L"介绍(&I)", ui::Instructions1}, {L"搜索(&S)", ui::Search1}, {L"-", 0},
          {L"显示系统属性(&H)", ui::ShowSystemProperties1}, {L"-", 0},
          {L"关于 Kelvo Tidymate(&A)", ui::AboutKelvoTidymate1}}},
        {L"Internet", {{L"检查更新", ui::CheckforUpdates1}}},
    };
    HMENU bar = GetMenu(form.Handle());
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing_support::Utf8(expected[i].first));
        EXPECT_EQ(MenuText(bar, static_cast<int>(i)), expected[i].first);
        EXPECT_THAT(ItemsOf(GetSubMenu(bar, static_cast<int>(i))), ElementsAreArray(expected[i].second));
    }
    EXPECT_TRUE(ItemChecked(form.Handle(), ui::DeepBlue1));
    EXPECT_TRUE(GetMenuState(bar, ui::ShutDownwhenFinished1, MF_BYCOMMAND) & MF_GRAYED) << "starts disabled";
}

TEST_F(MainWindowTest, VistaItemAndItsSeparatorShowOnlyOnVista)
{
    for (std::uint8_t osKind : {6, 8, 0}) {
        SCOPED_TRACE(osKind);
        form.OSKind = osKind;
        form.ShowVistaItems(osKind == 8);
        HMENU scanMenu = GetSubMenu(GetMenu(form.Handle()), 1);
        std::vector<MenuLine> items = ItemsOf(scanMenu);
        ASSERT_GE(items.size(), 2u);
        if (osKind == 8) {
            EXPECT_THAT(std::vector<MenuLine>(items.end() - 3, items.end()),
                        ElementsAre(MenuLine{L"完成后关闭计算机(&S)", ui::ShutDownwhenFinished1}, MenuLine{L"-", 0},
                                    MenuLine{L"在 Vista 中跳过 Windows Defender(&V)", ui::SkipWindowsDefenderinVista1}));
        } else {
            EXPECT_EQ(items.back(), (MenuLine{L"完成后关闭计算机(&S)", ui::ShutDownwhenFinished1}));
        }
    }
    // The hidden item keeps its check mark.
    form.suiMainMenu1.SetChecked(ui::SkipWindowsDefenderinVista1, true);
    form.ShowVistaItems(true);
    EXPECT_TRUE(ItemChecked(form.Handle(), ui::SkipWindowsDefenderinVista1));
}

TEST_F(MainWindowTest, TurnPageShowsOnePageAndBeepsOnlyWithSoundOn)
{
    Show();
    for (bool soundOn : {true, false}) {
        SCOPED_TRACE(soundOn);
        form.SetSound(soundOn);
        beeps.clear();
        for (int page : {5, 4, 10, 15, 0}) {
            form.TurnPage(page);
            EXPECT_EQ(VisiblePage(), page);
            EXPECT_EQ(form.PageControl1.ActivePageIndex(), page);
        }
        EXPECT_EQ(beeps, soundOn ? std::vector<UINT>(5, MB_ICONEXCLAMATION) : std::vector<UINT>{});
    }
    EXPECT_THROW(form.TurnPage(3), std::out_of_range);
    EXPECT_EQ(VisiblePage(), 0);
}

TEST_F(MainWindowTest, SoundItemCaptionNamesTheNextActionAndTagHoldsState)
{
    Show();
    HMENU bar = GetMenu(form.Handle());
    auto caption = [&] {
        wchar_t text[64] = {};
        GetMenuStringW(bar, ui::SoundisOn1, text, 64, MF_BYCOMMAND);
        return std::wstring(text);
    };
    EXPECT_FALSE(form.SoundOn);
    EXPECT_EQ(caption(), L"打开音效(&T)");
    SendCommand(ui::SoundisOn1);
    EXPECT_TRUE(form.SoundOn);
    EXPECT_EQ(caption(), L"关闭音效(&T)");
    EXPECT_EQ(form.suiMainMenu1.Tag(ui::SoundisOn1), 1);
    SendCommand(ui::SoundisOn1);
    EXPECT_FALSE(form.SoundOn);
    EXPECT_EQ(caption(), L"打开音效(&T)");
    EXPECT_EQ(form.suiMainMenu1.Tag(ui::SoundisOn1), 0);
}

struct Navigation {
    int command;
    int page;       // page that holds the button; -1 for a menu item
    int target;
    bool guarded;
};

TEST_F(MainWindowTest, BusyLocksSixMenusAndGuardedNavigation)
{
    Show();
    const Navigation navigation[] = {
        {ui::GotoStart1, -1, 0, true},
        {ui::GotoCleanerSettings1, -1, 10, true},
        {ui::ChangeSettings1, -1, 10, true},
        {ui::GotoCleaningAccessories1, -1, 6, true},
        {ui::RestoreRemovedFiles1, -1, 7, true},
        {IDC_CHANGE_SETTINGS_BUTTON, 5, 10, true},
        {IDC_FINISHED_SETTINGS_BUTTON, 4, 10, true},
        {IDC_FINISHED_TOOLS_BUTTON, 4, 6, true},
        {IDC_FINISHED_UNDO_BUTTON, 4, 7, true},
        {IDC_SUI_BUTTON1, 0, 5, false},
    };
    for (bool busy : {true, false}) {
        form.ChangeBusy(busy);
        EXPECT_EQ(form.Busy, busy);
        for (const wchar_t* menu : {L"程序", L"自动扫描", L"更换皮肤", L"设置", L"帮助", L"Internet"})
            EXPECT_EQ(TopMenuEnabled(form.Handle(), menu), !busy) << testing_support::Utf8(menu);
        EXPECT_TRUE(TopMenuEnabled(form.Handle(), L"声音"));
        for (const Navigation& step : navigation) {
            SCOPED_TRACE(testing::Message() << "busy " << busy << " command " << step.command);
            const int start = step.page >= 0 ? step.page : 15;
            form.TurnPage(start);
            if (step.page >= 0)
                ClickPageButton(step.page, step.command);
            else
                SendCommand(step.command);
            EXPECT_EQ(VisiblePage(), busy && step.guarded ? start : step.target);
        }
    }
}

TEST_F(MainWindowTest, ScanCommandsSetTheModeAndRunTheScanUnlessBusy)
{
    Show();
    int scans = 0;
    form.hooks.RunScan = [&] { ++scans; };
    const Navigation senders[] = {
        {IDC_CLEAN_PC_BUTTON, 5, 0, true}, {IDC_REMOVE_TRACKS_BUTTON, 5, 1, true}, {IDC_RUN_SETTINGS_BUTTON, 5, 2, true},
        {ui::CleanPC1, -1, 0, true},       {ui::RemoveTracks1, -1, 1, true},       {ui::RunCleanerSettings1, -1, 2, true},
    };
    for (bool busy : {true, false}) {
        form.ChangeBusy(busy);
        for (const Navigation& sender : senders) {
            SCOPED_TRACE(testing::Message() << "busy " << busy << " sender " << sender.command);
            form.ScanMode = 7;
            scans = 0;
            if (sender.page >= 0)
                ClickPageButton(sender.page, sender.command);
            else
                SendCommand(sender.command);
            EXPECT_EQ(form.ScanMode, busy ? 7 : sender.target);
            EXPECT_EQ(scans, busy ? 0 : 1);
        }
    }
}

TEST_F(MainWindowTest, SkinItemsRestyleTheFrameAndTickOneItem)
{
    Show();
    platform::SkinManager follower;
    form.SkinFollowers.push_back(&follower);
    for (int style = 1; style <= 5; ++style) {
        SCOPED_TRACE(style);
        const int item = ui::kSkinItems[static_cast<size_t>(style - 1)];
        SendCommand(item);
        PumpMessages(50);
        EXPECT_EQ(form.suiThemeManager1.UIStyle(), style);
        EXPECT_EQ(follower.UIStyle(), style);
        for (int other : ui::kSkinItems)
            EXPECT_EQ(ItemChecked(form.Handle(), other), other == item);
        HDC dc = GetDC(form.Handle());
        EXPECT_EQ(GetPixel(dc, 1, 20), form.suiThemeManager1.Palette().header) << "title band";
        ReleaseDC(form.Handle(), dc);
        HWND page = form.PageControl1.PageAt(0).Handle();
        dc = GetDC(page);
        EXPECT_EQ(GetPixel(dc, 640, 480), form.suiThemeManager1.Palette().face) << "page background";
        ReleaseDC(page, dc);
    }
    // The page colours hold after other pages have been shown and painted.
    form.TurnPage(5);
    form.TurnPage(0);
    PumpMessages(100);
    HWND page = form.PageControl1.PageAt(0).Handle();
    HDC dc = GetDC(page);
    EXPECT_EQ(GetPixel(dc, 640, 480), form.suiThemeManager1.Palette().face);
    ReleaseDC(page, dc);
    for (int outOfRange : {0, 6, -1}) {
        form.ApplySkin(outOfRange);
        EXPECT_EQ(form.suiThemeManager1.UIStyle(), 3);
        EXPECT_TRUE(ItemChecked(form.Handle(), ui::DeepBlue1));
    }
}

TEST_F(MainWindowTest, ErrorEscapingAHandlerIsShownAndTheWindowGoesOn)
{
    Show();
    form.hooks.RunScan = [] { throw platform::AppError(L"无法读取驱动器 D:\\"); };
    form.TurnPage(5);
    {
        DialogWatcher watcher(DialogWatcher::ClickButton(0));
        ClickPageButton(5, IDC_CLEAN_PC_BUTTON);
        const SeenDialog& seen = watcher.Seen();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, L"Kelvo Tidymate");
        EXPECT_EQ(seen.text, L"无法读取驱动器 D:\\");
        EXPECT_THAT(seen.buttons, ElementsAre(L"确定"));
    }
    ASSERT_TRUE(IsWindow(form.Handle()));
    SendCommand(ui::GotoStart1);
    EXPECT_EQ(VisiblePage(), 0);
}

TEST_F(MainWindowTest, GoToWebsiteReportsShellErrors)
{
    Show();
    const std::wstring dir = testing_support::TestDir();
    testing_support::WriteFileBytes(dir + L"notes.qzxv", "no program opens this");
    const std::pair<std::wstring, std::wstring> cases[] = {
        {dir + L"notes.qzxv", L"没有应用程序和指定的文件扩展名相关联."},
        {dir + L"missing.txt", L"找不到指定的文件."},
    };
    for (const auto& [address, message] : cases) {
        SCOPED_TRACE(testing_support::Utf8(address));
        DialogWatcher watcher(DialogWatcher::ClickButton(0));
        form.GoToWebsite(address);
        const SeenDialog& seen = watcher.Seen();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.caption, L"ShellExecute Error");
        EXPECT_EQ(seen.text, message);
    }
}

TEST_F(MainWindowTest, StringExtentIsTextWidthInTheWindowFontPlusAverageCharWidth)
{
    HDC dc = GetDC(form.Handle());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(form.Handle(), WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SIZE path{};
    const std::wstring text = L"C:\\WINDOWS\\Temp\\临时文件.tmp";
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &path);
    SelectObject(dc, old);
    ReleaseDC(form.Handle(), dc);
    ASSERT_GT(metrics.tmAveCharWidth, 0);

    EXPECT_EQ(form.GetStringExtent(L""), metrics.tmAveCharWidth);
    EXPECT_EQ(form.GetStringExtent(text), path.cx + metrics.tmAveCharWidth);
    EXPECT_GT(form.GetStringExtent(L"WWWW"), form.GetStringExtent(L"iiii"));
    // Beyond 16 bits the width stops at the largest value rather than wrapping to a small one.
    EXPECT_EQ(form.GetStringExtent(std::wstring(20000, L'W')), 0xFFFF);
}

TEST_F(MainWindowTest, StartTimerFiresOnceAboutASecondAfterShow)
{
    int fired = 0;
    form.hooks.OnTimer = [&] { ++fired; };
    EXPECT_FALSE(form.Timer1.Enabled());
    Show();
    EXPECT_TRUE(form.Timer1.Enabled());
    EXPECT_EQ(fired, 0);
    PumpMessages(2500);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(form.Timer1.Enabled());
}

TEST_F(MainWindowTest, CloseStopsWorkLeavesBusyAndThenStoresSettings)
{
    Show();
    form.ChangeBusy(true);
    bool stopAtWrite = false;
    bool busyAtWrite = true;
    int writes = 0;
    form.hooks.WriteSettings = [&] {
        ++writes;
        stopAtWrite = form.StopRequested;
        busyAtWrite = form.Busy;
    };
    SendMessageW(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(writes, 1);
    EXPECT_TRUE(stopAtWrite);
    EXPECT_FALSE(busyAtWrite);
    EXPECT_FALSE(IsWindow(form.Handle()));
}

TEST_F(MainWindowTest, CloseGoesOnWhenSettingsCannotBeStored)
{
    Show();
    HWND window = form.Handle();
    form.hooks.WriteSettings = [] { throw platform::AppError(L"无法写入 Trimdex.ini"); };
    DialogWatcher watcher(DialogWatcher::ClickButton(0));
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(watcher.Seen().text, L"无法写入 Trimdex.ini");
    EXPECT_FALSE(IsWindow(window));
}

// Every page of the window, saved as main-pageN.bmp under C:\tidymate-screens\ in the test
// prefix (build/x86_64/wineprefix/drive_c/tidymate-screens/).
TEST_F(MainWindowTest, Screenshots)
{
    Show();
    for (int page : {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}) {
        form.TurnPage(page);
        PumpMessages(200);
        SaveScreenshot(form.Handle(), L"main-page" + std::to_wstring(page));
    }
    form.ApplySkin(2);
    form.TurnPage(5);
    PumpMessages(200);
    SaveScreenshot(form.Handle(), L"main-page5-winxp");
    DialogWatcher watcher(DialogWatcher::Screenshot(L"message-yesnocancel", 2));
    EXPECT_EQ(form.suiMessageBox(L"确定要移除找到的 1,024 个问题吗?\n移除的文件会保存在撤销文件中.", L"Kelvo Tidymate",
                                 MB_YESNOCANCEL, 0),
              IDCANCEL);
}

}  // namespace
}  // namespace ui_testing
