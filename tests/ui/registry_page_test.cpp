#include "ui_test_helpers.h"

#include "app/settings.h"
#include "main_window_ids.h"
#include "registry_page_ids.h"
#include "support/test_support.h"
#include "ui/registry_page.h"

#include <gmock/gmock.h>

namespace ui_testing {
namespace {

using ::testing::ElementsAre;

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

bool Shown(HWND window) { return IsWindowVisible(window) != FALSE; }
bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

class RegistryPageTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Page().Bind(settings);
        Show();
    }
    ui::TRegistryPage& Page() { return form.RegistryCleaningPage(); }
    void TurnAwayAndBack()
    {
        form.TurnPage(6);
        form.TurnPage(13);
    }
    static void Click(HWND control) { SendMessageW(control, BM_CLICK, 0, 0); }

    app::TSettings settings;
};

TEST_F(RegistryPageTest, ShowsTheThirteenListsInScanOrderEachWithItsListButton)
{
    form.TurnPage(13);
    const wchar_t* const captions[] = {
        L"运行历史",          L"打开和保存历史",        L"文档历史",           L"打开方式列表",
        L"搜索历史",          L"搜索计算机历史",        L"菜单顺序",           L"Internet 地址历史",
        L"Internet 密码列表", L"Internet 自动完成",     L"运行记录 (Explorer)", L"MS 画图 最近的文件列表",
        L"Media Player 最近文件列表",
    };
    int previousTop = -1;
    for (int i = 0; i < 13; ++i) {
        const int category = 72 + i;
        SCOPED_TRACE(category);
        const HWND tick = Page().TickBox(category).Handle();
        const HWND list = Page().ListButton(category).Handle();
        ASSERT_NE(tick, nullptr);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(TextOf(tick), captions[i]);
        EXPECT_EQ(TextOf(list), L"列出项目");
        EXPECT_TRUE(Shown(tick));
        EXPECT_TRUE(Shown(list));
        RECT bounds{};
        GetWindowRect(tick, &bounds);
        EXPECT_GT(bounds.top, previousTop) << "rows run down the page in scan order";
        previousTop = bounds.top;
    }
    EXPECT_EQ(TextOf(Page().suiButton31.Handle()), L"清洁勾选的列表 >>");
    EXPECT_EQ(TextOf(Page().suiCheckBox81.Handle()), L"在按自定义扫描时清洁勾选的列表");
    EXPECT_EQ(TextOf(Page().Item(IDC_BACK_TO_TOOLS)), L"<< 返回更多的清洁工具");
    EXPECT_EQ(Page().TickBox(71).Handle(), nullptr);
}

TEST_F(RegistryPageTest, TickingABoxChangesOnlyItsListInTheModelAtOnce)
{
    form.TurnPage(13);
    for (int category : {72, 82, 84}) {
        SCOPED_TRACE(category);
        const auto before = settings.Categories;
        Click(Page().TickBox(category).Handle());
        EXPECT_TRUE(settings.Categories[category].Enabled);
        for (int other = 0; other < static_cast<int>(before.size()); ++other) {
            if (other != category) {
                EXPECT_EQ(settings.Categories[other].Enabled, before[other].Enabled) << "category " << other;
            }
        }
        Click(Page().TickBox(category).Handle());
        EXPECT_FALSE(settings.Categories[category].Enabled);
    }
    EXPECT_FALSE(settings.RunInMainScan);
}

TEST_F(RegistryPageTest, RunInMainScanBoxEditsTheModel)
{
    form.TurnPage(13);
    Click(Page().suiCheckBox81.Handle());
    EXPECT_TRUE(settings.RunInMainScan);
    Click(Page().suiCheckBox81.Handle());
    EXPECT_FALSE(settings.RunInMainScan);
}

TEST_F(RegistryPageTest, ShowsTheModelEachTimeItIsTurnedTo)
{
    // As after reading the settings file, or ticking the mirrored box on the settings pages.
    form.TurnPage(13);
    settings.Categories[75].Enabled = true;
    settings.Categories[83].Enabled = true;
    settings.RunInMainScan = true;
    TurnAwayAndBack();
    for (int category = 72; category <= 84; ++category)
        EXPECT_EQ(Page().TickBox(category).Checked(), category == 75 || category == 83) << category;
    EXPECT_TRUE(Page().suiCheckBox81.Checked());

    settings.RunInMainScan = false;
    TurnAwayAndBack();
    EXPECT_FALSE(Page().suiCheckBox81.Checked());
}

TEST_F(RegistryPageTest, CleanButtonCallsItsHookAndIsDisabledWithoutOne)
{
    form.TurnPage(13);
    EXPECT_FALSE(Enabled(Page().suiButton31.Handle()));

    int cleans = 0;
    Page().hooks.CleanTickedLists = [&] { ++cleans; };
    TurnAwayAndBack();
    ASSERT_TRUE(Enabled(Page().suiButton31.Handle()));
    Click(Page().suiButton31.Handle());
    EXPECT_EQ(cleans, 1);
    EXPECT_EQ(VisiblePage(), 13);
}

TEST_F(RegistryPageTest, ListButtonsPassTheirListsCategory)
{
    form.TurnPage(13);
    EXPECT_FALSE(Enabled(Page().ListButton(72).Handle()));

    std::vector<int> listed;
    Page().hooks.ListItems = [&](int category) { listed.push_back(category); };
    TurnAwayAndBack();
    for (int category : {82, 72, 84}) {
        ASSERT_TRUE(Enabled(Page().ListButton(category).Handle()));
        Click(Page().ListButton(category).Handle());
    }
    EXPECT_THAT(listed, ElementsAre(82, 72, 84));
}

TEST_F(RegistryPageTest, ToolsButtonLeadsHereAndBackButtonReturnsEvenWhileBusy)
{
    form.TurnPage(6);
    ClickPageButton(6, IDC_TOOLS_REGISTRY);
    EXPECT_EQ(VisiblePage(), 13);
    ClickPageButton(13, IDC_BACK_TO_TOOLS);
    EXPECT_EQ(VisiblePage(), 6);

    form.ChangeBusy(true);
    ClickPageButton(6, IDC_TOOLS_REGISTRY);
    EXPECT_EQ(VisiblePage(), 13);
    ClickPageButton(13, IDC_BACK_TO_TOOLS);
    EXPECT_EQ(VisiblePage(), 6);
}

TEST_F(RegistryPageTest, AdvertLinkOpensTheRegistryCleanersPage)
{
    std::vector<std::wstring> opened;
    Page().hooks.OpenWebPage = [&](const std::wstring& address) { opened.push_back(address); };
    form.TurnPage(13);
    const HWND link = Page().Item(IDC_REGLOOM_LINK);
    ASSERT_TRUE(Shown(link));
    SendMessageW(Page().Handle(), WM_COMMAND, MAKEWPARAM(IDC_REGLOOM_LINK, STN_CLICKED), reinterpret_cast<LPARAM>(link));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].rfind(L"http://www.kelvo.com/", 0), 0u) << testing_support::Utf8(opened[0]);
    EXPECT_EQ(VisiblePage(), 13);
}

TEST_F(RegistryPageTest, Screenshots)
{
    settings.Categories[72].Enabled = true;
    settings.Categories[73].Enabled = true;
    settings.Categories[79].Enabled = true;
    Page().hooks.CleanTickedLists = [] {};
    form.TurnPage(6);
    PumpMessages(200);
    SaveScreenshot(form.Handle(), L"main-page6-tools");
    form.TurnPage(13);
    PumpMessages(200);
    SaveScreenshot(form.Handle(), L"main-page13-registry");
}

}  // namespace
}  // namespace ui_testing
