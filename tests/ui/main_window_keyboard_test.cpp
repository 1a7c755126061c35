// The keyboard on the main window's pages: Tab follows the visual order of the shown page,
// Enter presses the page's default button (or the focused one), Esc stops running work
// and never closes the window.
#include "ui_test_helpers.h"

#include "main_window_ids.h"
#include "registry_page_ids.h"
#include "scan_pages_ids.h"
#include "support/test_support.h"
#include "ui/registry_page.h"
#include "ui/window_scan_host.h"

#include <gmock/gmock.h>

namespace ui_testing {
namespace {

using ::testing::ElementsAre;

class KeyboardTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Show();
    }

    // A key press as the program's message loop handles it.
    void Press(WORD key)
    {
        for (UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            MSG msg{};
            msg.hwnd = GetFocus() ? GetFocus() : form.Handle();
            msg.message = message;
            msg.wParam = key;
            msg.lParam = message == WM_KEYDOWN ? 1 : 0xC0000001;
            if (!IsDialogMessageW(form.Handle(), &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        PumpMessages(20);
    }
    int FocusedId() const { return GetDlgCtrlID(GetFocus()); }
    // The ids focused by pressing Tab `count` times, starting with the focused control.
    std::vector<int> TabWalk(int count)
    {
        std::vector<int> ids{FocusedId()};
        for (int i = 0; i < count; ++i) {
            Press(VK_TAB);
            ids.push_back(FocusedId());
        }
        return ids;
    }
};

TEST_F(KeyboardTest, TabFollowsTheVisualOrderOfTheShownPage)
{
    EXPECT_EQ(FocusedId(), IDC_SUI_BUTTON1) << "the welcome page's button has the focus";
    form.TurnPage(5);
    EXPECT_THAT(TabWalk(4), ElementsAre(IDC_CLEAN_PC_BUTTON, IDC_REMOVE_TRACKS_BUTTON, IDC_RUN_SETTINGS_BUTTON,
                                        IDC_CHANGE_SETTINGS_BUTTON, IDC_CLEAN_PC_BUTTON));

    form.TurnPage(4);
    // "转到撤销列表" waits for its page and is skipped while disabled.
    EXPECT_THAT(TabWalk(3), ElementsAre(IDC_FINISHED_EXIT_BUTTON, IDC_FINISHED_SETTINGS_BUTTON,
                                        IDC_FINISHED_TOOLS_BUTTON, IDC_FINISHED_EXIT_BUTTON));

    // The results page focuses its first button, not the tree (which would select a finding
    // by itself); "打印列表" stays disabled until printing is there.
    form.TurnPage(2);
    EXPECT_THAT(TabWalk(4), ElementsAre(IDC_SUI_BUTTON38, IDC_SUI_BUTTON11, IDC_BUTTON2, IDC_TREE_VIEW1,
                                        IDC_SUI_BUTTON38));
}

TEST_F(KeyboardTest, EnterGoesThroughTheWizardWithTheDefaultButtons)
{
    std::vector<int> modes;
    form.hooks.RunScan = [&] { modes.push_back(form.ScanMode); };
    Press(VK_RETURN);
    EXPECT_EQ(VisiblePage(), 5);
    EXPECT_EQ(FocusedId(), IDC_CLEAN_PC_BUTTON);
    Press(VK_RETURN);
    EXPECT_THAT(modes, ElementsAre(0)) << "Enter starts a Clean PC scan";
    Press(VK_TAB);
    Press(VK_RETURN);
    EXPECT_THAT(modes, ElementsAre(0, 1)) << "Enter presses the focused button";
    EXPECT_EQ(VisiblePage(), 5);
}

TEST_F(KeyboardTest, EnterReachesTheDefaultButtonThatAPageHandlesItself)
{
    app::TSettings settings;
    form.RegistryCleaningPage().Bind(settings);
    int cleanings = 0;
    form.RegistryCleaningPage().hooks.CleanTickedLists = [&] { ++cleanings; };
    form.TurnPage(13);
    EXPECT_EQ(FocusedId(), IDC_SUI_BUTTON31);
    Press(VK_RETURN);
    EXPECT_EQ(cleanings, 1);
    // From another control of the page, Enter still means the default button.
    SendMessageW(form.Handle(), WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(GetDlgItem(form.PageControl1.PageAt(13).Handle(), IDC_SUI_CHECKBOX81)), TRUE);
    ASSERT_EQ(FocusedId(), IDC_SUI_CHECKBOX81);
    Press(VK_RETURN);
    EXPECT_EQ(cleanings, 2);
}

TEST_F(KeyboardTest, EscStopsTheRunningScanAndOtherwiseDoesNothing)
{
    int removals = 0;
    form.ScanHost->hooks.Button2Click = [&] { ++removals; };
    form.TurnPage(2);
    Press(VK_ESCAPE);
    EXPECT_EQ(removals, 0) << "Esc never starts the removal";
    EXPECT_TRUE(IsWindowVisible(form.Handle()));

    // A scan as the driver runs it: busy, on the scan page, with the stop button shown.
    form.ChangeBusy(true);
    form.ScanHost->SetStopRequested(false);
    form.ScanHost->ShowStopButton(L"停止 \"清洁计算机\" 扫描");
    form.TurnPage(1);
    Press(VK_ESCAPE);
    EXPECT_TRUE(form.ScanHost->StopRequested());
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
}

}  // namespace
}  // namespace ui_testing
