#include "ui_test_helpers.h"

#include "app/ini_file.h"
#include "app/settings.h"
#include "main_window_ids.h"
#include "settings_page_ids.h"
#include "support/test_support.h"
#include "ui/main_menu.h"
#include "ui/registry_page.h"
#include "ui/settings_page.h"
#include "ui/settings_page_model.h"

#include <gmock/gmock.h>

#include <commctrl.h>

#include <optional>

namespace ui_testing {
namespace {

using ::testing::ElementsAre;
using testing_support::Utf8;

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }
bool Shown(HWND window) { return IsWindowVisible(window) != FALSE; }

struct FolderRequest {
    std::wstring caption;
    std::wstring preset;
};

class SettingsPageTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        iniPath = testing_support::TestDir() + L"Trimdex.ini";
        settings.Drives = app::ReadDriveSelection(app::TMemIniFile(iniPath));
        Page().hooks.BrowseForFolder = [this](const std::wstring& caption, const std::wstring& preset) {
            requests.push_back({caption, preset});
            return folderAnswer;
        };
        Page().Bind(settings, iniPath);
        form.RegistryCleaningPage().Bind(settings);
        Show();
        form.GotoCleanerSettingsClick();
    }

    ui::TSettingsPage& Page() const { return form.CleanerSettingsPage(); }
    ui::TRegistryPage& RegistryPage() { return form.RegistryCleaningPage(); }

    // Clicks a control of a tab as the mouse would, with its tab shown.
    void Click(int tab, HWND control)
    {
        Page().SelectTab(tab);
        SendMessageW(control, BM_CLICK, 0, 0);
    }
    void ClickButton(int id) { Click(ui::TSettingsPage::kStartTab, GetDlgItem(Page().Sheet(0).Handle(), id)); }
    // Chooses an item of a combo box as the user does: the box changes, then its parent hears of it.
    static void Choose(const platform::ComboBox& box, int index)
    {
        box.SetItemIndex(index);
        SendMessageW(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box.Handle()), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(box.Handle()));
    }
    static void Type(HWND field, const std::wstring& keys)
    {
        for (wchar_t key : keys)
            SendMessageW(field, WM_CHAR, key, 1);
    }
    void TurnAwayAndBack()
    {
        form.TurnPage(6);
        form.TurnPage(10);
    }
    int DriveItem(wchar_t letter) const
    {
        for (int item = 0; item < Page().suiListView1.ItemCount(); ++item)
            if (Page().suiListView1.ItemText(item, 1) == std::wstring{letter, L':', L'\\'})
                return item;
        return -1;
    }
    const app::TDriveSelection* ModelDrive(wchar_t letter) const
    {
        for (const app::TDriveSelection& drive : settings.Drives)
            if (drive.Root == std::wstring{letter, L':', L'\\'})
                return &drive;
        return nullptr;
    }
    std::vector<std::wstring> SkipKeys() const
    {
        return app::TMemIniFile(iniPath).ReadSection(app::kSkipFoldersSection);
    }
    std::vector<std::wstring> SkipList()
    {
        std::vector<std::wstring> items;
        for (int i = 0; i < Page().suiListBox2.Count(); ++i)
            items.push_back(Page().suiListBox2.ItemText(i));
        return items;
    }

    app::TSettings settings;
    std::wstring iniPath;
    std::optional<std::wstring> folderAnswer;
    std::vector<FolderRequest> requests;
};

TEST_F(SettingsPageTest, TabsCarryTheirCaptionsAndEverySettingsCommandOpensTheFirst)
{
    const std::vector<std::wstring> captions = {L"开始", L" 1 ", L" 2 ", L" 3 ", L" 4 ",
                                                L" 5 ", L"6",    L"其它", L"自定义", L"跳过"};
    ASSERT_EQ(Page().suiPageControl2.Count(), 10);
    for (int tab = 0; tab < 10; ++tab)
        EXPECT_EQ(Page().suiPageControl2.Caption(tab), captions[static_cast<size_t>(tab)]) << tab;
    EXPECT_EQ(TextOf(Page().Item(IDC_PAGE_TITLE)), L"清洁设置");

    struct Command {
        int id;
        int page;  // page that holds the button; -1 for a menu item
    };
    for (const Command& command : {Command{ui::GotoCleanerSettings1, -1}, Command{ui::ChangeSettings1, -1},
                                   Command{IDC_FINISHED_SETTINGS_BUTTON, 4}, Command{IDC_CHANGE_SETTINGS_BUTTON, 5}}) {
        SCOPED_TRACE(command.id);
        form.TurnPage(command.page >= 0 ? command.page : 0);
        Page().SelectTab(7);
        if (command.page >= 0)
            ClickPageButton(command.page, command.id);
        else
            SendCommand(command.id);
        EXPECT_EQ(VisiblePage(), 10);
        EXPECT_EQ(Page().suiPageControl2.Selected(), 0);
        for (int tab = 0; tab < 10; ++tab)
            EXPECT_EQ(Shown(Page().Sheet(tab).Handle()), tab == 0) << "sheet " << tab;

        form.TurnPage(command.page >= 0 ? command.page : 0);
        Page().SelectTab(7);
        form.ChangeBusy(true);
        if (command.page >= 0)
            ClickPageButton(command.page, command.id);
        else
            SendCommand(command.id);
        form.ChangeBusy(false);
        EXPECT_NE(VisiblePage(), 10) << "nothing happens while busy";
        EXPECT_EQ(Page().suiPageControl2.Selected(), 7);
    }
}

TEST_F(SettingsPageTest, FirstStartShowsTheCatalogueDefaultsRowByRow)
{
    const std::vector<int> rowsPerTab = {0, 12, 12, 12, 12, 12, 1, 8};
    std::vector<int> seen(8, 0);
    for (const ui::TCategoryRow& row : ui::CategoryRows()) {
        const std::wstring key = row.Setting->EnableKey;
        SCOPED_TRACE(Utf8(key));
        const platform::CheckBox tick = Page().TickBox(key);
        const platform::ComboBox method = Page().MethodBox(key);
        ASSERT_NE(tick.Handle(), nullptr);
        ASSERT_NE(method.Handle(), nullptr);
        const int tab = row.Tab + 1;
        ++seen[static_cast<size_t>(tab)];
        EXPECT_EQ(GetParent(tick.Handle()), Page().Sheet(tab).Handle());
        EXPECT_EQ(TextOf(tick.Handle()), row.Setting->TickCaption);
        EXPECT_EQ(tick.Checked(), row.Setting->EnableDefault);
        EXPECT_EQ(method.ItemIndex(), row.Setting->MethodDefault);
        ASSERT_EQ(method.Count(), 3);
        EXPECT_EQ(method.ItemText(0), L"删除文件");
        EXPECT_EQ(method.ItemText(1), L"移动到 ZIP 文件, 一周后删除");
        EXPECT_EQ(method.ItemText(2), L"移动到 ZIP 文件, 不删除 ZIP");
    }
    EXPECT_EQ(seen, rowsPerTab);

    // A few rows spelled out, so that a wrong table shows up here too.
    struct Expected {
        const wchar_t* key;
        const wchar_t* caption;
        bool ticked;
        int method;
    };
    for (const Expected& row : {Expected{L"EndTMP", L"移除以 .TMP 结尾的文件", true, 1},
                                Expected{L"EndGID", L"移除以 .GID 结尾的文件", true, 0},
                                Expected{L"Since1999", L"移除自 1999 年后未使用的文件", false, 2},
                                Expected{L"Stubbornindex.dat", L"移除顽固的 INDEX.DAT 文件", false, 0},
                                Expected{L"Installs", L"移除安装程序", false, 1}}) {
        SCOPED_TRACE(Utf8(row.key));
        EXPECT_EQ(TextOf(Page().TickBox(row.key).Handle()), row.caption);
        EXPECT_EQ(Page().TickBox(row.key).Checked(), row.ticked);
        EXPECT_EQ(Page().MethodBox(row.key).ItemIndex(), row.method);
    }
    EXPECT_EQ(GetParent(Page().TickBox(L"Installs").Handle()), Page().Sheet(6).Handle());
    EXPECT_EQ(GetParent(Page().TickBox(L"AllTemp").Handle()), Page().Sheet(7).Handle());

    const std::vector<std::wstring> kinds = {L"结尾以", L"开头以", L"使用通配符 - ", L"在文件夹中 ", L"包含子文件夹 "};
    for (int rule = 0; rule < 10; ++rule) {
        SCOPED_TRACE(rule);
        const auto& controls = Page().UserRule(rule);
        EXPECT_EQ(TextOf(controls.tick.Handle()), L"移除文件");
        EXPECT_FALSE(controls.tick.Checked());
        EXPECT_EQ(controls.kind.ItemIndex(), 0);
        std::vector<std::wstring> items;
        for (int i = 0; i < controls.kind.Count(); ++i)
            items.push_back(controls.kind.ItemText(i));
        EXPECT_EQ(items, kinds);
        EXPECT_EQ(controls.text.Text(), L"");
        EXPECT_EQ(controls.method.ItemIndex(), 2);
        for (HWND control : {controls.kind.Handle(), controls.text.Handle(), controls.method.Handle()})
            EXPECT_FALSE(Enabled(control));
    }
    EXPECT_TRUE(Page().suiCheckBox89.Checked());
    EXPECT_FALSE(Page().suiCheckBox95.Checked());
    EXPECT_FALSE(Page().suiCheckBox4.Checked());
    EXPECT_EQ(TextOf(Page().suiCheckBox4.Handle()), L"使用注册表清洁部件中的设置清洁注册表");
    EXPECT_EQ(Page().suiListBox2.Count(), 0);
}

TEST_F(SettingsPageTest, EveryControlEditsTheModelAtOnce)
{
    // The stubborn row is category 69's second tick box, not the category's own.
    Click(5, Page().TickBox(L"Stubbornindex.dat").Handle());
    Choose(Page().MethodBox(L"Stubbornindex.dat"), 1);
    EXPECT_TRUE(settings.StubbornIndexDat.Enabled);
    EXPECT_EQ(settings.StubbornIndexDat.Method, 1);
    EXPECT_TRUE(settings.Categories[scan::kIndexDatCategory].Enabled);
    EXPECT_EQ(settings.Categories[scan::kIndexDatCategory].Method, 1);

    Click(0, Page().suiCheckBox89.Handle());
    Click(0, Page().suiCheckBox95.Handle());
    EXPECT_FALSE(settings.UseTimeBuffer);
    EXPECT_TRUE(settings.UseNoRemainsDeletion);

    const auto& rule = Page().UserRule(4);
    Click(8, rule.tick.Handle());
    EXPECT_TRUE(settings.Categories[scan::kFirstUserRule + 4].Enabled);
    for (HWND control : {rule.kind.Handle(), rule.text.Handle(), rule.method.Handle()})
        EXPECT_TRUE(Enabled(control));
    Type(rule.text.Handle(), L"*.log");
    Choose(rule.method, 0);
    EXPECT_EQ(settings.UserRules[4].Text, L"*.log");
    EXPECT_EQ(settings.Categories[scan::kFirstUserRule + 4].Method, 0);
    Click(8, rule.tick.Handle());
    EXPECT_FALSE(settings.Categories[scan::kFirstUserRule + 4].Enabled);
    EXPECT_FALSE(Enabled(rule.text.Handle()));
}

TEST_F(SettingsPageTest, CategoryRowsEditOnlyTheirOwnCategory)
{
    int recycleBin = -1;
    for (const scan::TJunkCategory& category : scan::Catalogue())
        if (std::wstring(category.Setting.EnableKey) == L"RecycleBin")
            recycleBin = category.Index;
    ASSERT_GE(recycleBin, 0);
    const auto before = settings.Categories;
    Click(2, Page().TickBox(L"RecycleBin").Handle());
    Choose(Page().MethodBox(L"RecycleBin"), 2);
    for (int index = 0; index < scan::kCategoryCount; ++index) {
        const bool changed = index == recycleBin;
        EXPECT_EQ(settings.Categories[index].Enabled != before[index].Enabled, changed) << index;
        EXPECT_EQ(settings.Categories[index].Method != before[index].Method, changed) << index;
    }
    EXPECT_FALSE(settings.StubbornIndexDat.Enabled);
}

TEST_F(SettingsPageTest, ShowsTheModelEachTimeItIsTurnedTo)
{
    settings.Categories[0].Enabled = false;
    settings.Categories[0].Method = 2;
    settings.StubbornIndexDat.Enabled = true;
    settings.Categories[scan::kFirstUserRule + 1].Enabled = true;
    settings.UserRules[1] = {3, L"C:\\Data\\"};
    settings.UseTimeBuffer = false;
    settings.RunInMainScan = true;
    settings.SkipFolders = {L"C:\\Keep\\"};
    for (app::TDriveSelection& drive : settings.Drives)
        drive.Selected = drive.Root == L"D:\\";
    TurnAwayAndBack();

    EXPECT_FALSE(Page().TickBox(L"EndTMP").Checked());
    EXPECT_EQ(Page().MethodBox(L"EndTMP").ItemIndex(), 2);
    EXPECT_TRUE(Page().TickBox(L"Stubbornindex.dat").Checked());
    EXPECT_TRUE(Page().TickBox(L"index.dat").Checked());
    const auto& rule = Page().UserRule(1);
    EXPECT_TRUE(rule.tick.Checked());
    EXPECT_TRUE(Enabled(rule.text.Handle()));
    EXPECT_EQ(rule.kind.ItemIndex(), 3);
    EXPECT_EQ(rule.text.Text(), L"C:\\Data\\");
    EXPECT_EQ(settings.UserRules[1].Text, L"C:\\Data\\") << "showing the text does not change it";
    EXPECT_FALSE(Page().suiCheckBox89.Checked());
    EXPECT_TRUE(Page().suiCheckBox4.Checked());
    EXPECT_THAT(SkipList(), ElementsAre(L"C:\\Keep\\"));
    ASSERT_GE(DriveItem(L'D'), 0);
    EXPECT_TRUE(Page().suiListView1.Selected(DriveItem(L'D')));
    EXPECT_FALSE(Page().suiListView1.Selected(DriveItem(L'C')));
    EXPECT_TRUE(ModelDrive(L'D')->Selected);
    EXPECT_FALSE(ModelDrive(L'C')->Selected);
}

TEST_F(SettingsPageTest, SelectNoneThenSelectAllTicksEveryRowAndBothHistoryBoxesButNoUserRule)
{
    settings.Categories[scan::kFirstUserRule + 3].Enabled = true;
    settings.Categories[0].Method = 0;
    settings.UseTimeBuffer = false;
    TurnAwayAndBack();
    const auto drivesBefore = settings.Drives;

    ClickButton(IDC_SUI_BUTTON36);
    for (const ui::TCategoryRow& row : ui::CategoryRows())
        EXPECT_FALSE(Page().TickBox(row.Setting->EnableKey).Checked()) << Utf8(row.Setting->EnableKey);
    EXPECT_FALSE(Page().suiCheckBox4.Checked());
    EXPECT_FALSE(RegistryPage().suiCheckBox81.Checked());
    EXPECT_FALSE(settings.RunInMainScan);
    EXPECT_FALSE(settings.Categories[scan::kFirstUserRule + 3].Enabled);

    ClickButton(IDC_SUI_BUTTON29);
    int ticked = 0;
    for (const ui::TCategoryRow& row : ui::CategoryRows()) {
        EXPECT_TRUE(Page().TickBox(row.Setting->EnableKey).Checked()) << Utf8(row.Setting->EnableKey);
        EXPECT_TRUE(row.Target(settings).Enabled) << Utf8(row.Setting->EnableKey);
        ticked += Page().TickBox(row.Setting->EnableKey).Checked() ? 1 : 0;
    }
    EXPECT_EQ(ticked, 69);
    EXPECT_TRUE(Page().suiCheckBox4.Checked());
    EXPECT_TRUE(RegistryPage().suiCheckBox81.Checked());
    EXPECT_TRUE(settings.RunInMainScan);
    for (int rule = 0; rule < 10; ++rule) {
        EXPECT_FALSE(Page().UserRule(rule).tick.Checked()) << rule;
        EXPECT_FALSE(settings.Categories[scan::kFirstUserRule + rule].Enabled) << rule;
        EXPECT_FALSE(Enabled(Page().UserRule(rule).kind.Handle())) << rule;
    }
    // Neither button touches methods, drives or the other options.
    EXPECT_EQ(Page().MethodBox(L"EndTMP").ItemIndex(), 0);
    EXPECT_FALSE(settings.UseTimeBuffer);
    ASSERT_EQ(settings.Drives.size(), drivesBefore.size());
    for (size_t i = 0; i < drivesBefore.size(); ++i)
        EXPECT_EQ(settings.Drives[i].Selected, drivesBefore[i].Selected);
}

TEST_F(SettingsPageTest, HistoryBoxesMirrorEachOtherBothWays)
{
    Click(6, Page().suiCheckBox4.Handle());
    EXPECT_TRUE(settings.RunInMainScan);
    EXPECT_TRUE(RegistryPage().suiCheckBox81.Checked()) << "without turning to the registry page";

    form.TurnPage(13);
    SendMessageW(RegistryPage().suiCheckBox81.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(settings.RunInMainScan);
    EXPECT_FALSE(Page().suiCheckBox4.Checked());
}

TEST_F(SettingsPageTest, LinkOnTabSixTurnsToTheRegistryPage)
{
    Page().SelectTab(6);
    const HWND link = Page().Sheet(6).Item(IDC_REGISTRY_SETTINGS_LINK);
    ASSERT_TRUE(Shown(link));
    EXPECT_EQ(TextOf(link), L"转到注册表清洁部件");
    SendMessageW(Page().Sheet(6).Handle(), WM_COMMAND, MAKEWPARAM(IDC_REGISTRY_SETTINGS_LINK, STN_CLICKED),
                 reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(VisiblePage(), 13);
}

TEST_F(SettingsPageTest, ResetReloadsEverySectionAndKeepsRuleKindsAndTexts)
{
    // Saved: a ticked rule with a folder, an unticked category, a ticked history list.
    settings.Categories[scan::kFirstUserRule + 2] = {true, 0};
    settings.UserRules[2] = {3, L"C:\\Data\\"};
    settings.Categories[0] = {false, 0};
    settings.Categories[scan::kFirstRegistryCategory].Enabled = true;
    settings.UseNoRemainsDeletion = true;
    for (app::TDriveSelection& drive : settings.Drives)
        drive.Selected = false;
    app::WriteSettings(settings, iniPath);
    // Then changed without closing the window.
    settings.Categories[scan::kFirstRegistryCategory].Enabled = false;
    for (app::TDriveSelection& drive : settings.Drives)
        drive.Selected = true;
    int reloads = 0;
    Page().hooks.SettingsReloaded = [&] { ++reloads; };
    TurnAwayAndBack();

    ClickButton(IDC_SUI_BUTTON16);
    EXPECT_EQ(reloads, 1);
    const auto& rule = Page().UserRule(2);
    EXPECT_FALSE(rule.tick.Checked());
    EXPECT_FALSE(Enabled(rule.text.Handle()));
    EXPECT_EQ(rule.kind.ItemIndex(), 3);
    EXPECT_EQ(rule.text.Text(), L"C:\\Data\\");
    EXPECT_EQ(rule.method.ItemIndex(), 2);
    EXPECT_EQ(settings.UserRules[2].Text, L"C:\\Data\\");
    EXPECT_TRUE(Page().TickBox(L"EndTMP").Checked());
    EXPECT_EQ(Page().MethodBox(L"EndTMP").ItemIndex(), 1);
    EXPECT_FALSE(Page().suiCheckBox95.Checked());
    EXPECT_TRUE(settings.Categories[scan::kFirstRegistryCategory].Enabled) << "last saved state";
    form.TurnPage(13);
    EXPECT_TRUE(RegistryPage().TickBox(scan::kFirstRegistryCategory).Checked());

    // In the list only: the fixed drive again, not the CD-ROM or the removable drive.
    form.TurnPage(10);
    ASSERT_NE(ModelDrive(L'C'), nullptr);
    EXPECT_TRUE(ModelDrive(L'C')->Selected);
    EXPECT_FALSE(ModelDrive(L'D')->Selected);
    EXPECT_FALSE(ModelDrive(L'E')->Selected);
    EXPECT_TRUE(Page().suiListView1.Selected(DriveItem(L'C')));
    EXPECT_FALSE(Page().suiListView1.Selected(DriveItem(L'D')));
    EXPECT_FALSE(app::TMemIniFile(iniPath).ReadBool(app::kDrivesSelectedSection, L"C:\\", false))
        << "the drive selection reaches the file only with the next full save";
}

TEST_F(SettingsPageTest, TypingAColonIntoARuleLeavesTheOtherLettersAndSaysWhyOnce)
{
    Click(8, Page().UserRule(0).tick.Handle());
    const HWND field = Page().UserRule(0).text.Handle();
    DialogWatcher watcher(DialogWatcher::ClickButton(0));
    Type(field, L"a:b");
    const SeenDialog& seen = watcher.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, L"该文本框中不能输入此字符");
    EXPECT_EQ(seen.caption, L"Kelvo Tidymate");
    EXPECT_THAT(seen.buttons, ElementsAre(L"确定"));
    EXPECT_EQ(Page().UserRule(0).text.Text(), L"ab");
    EXPECT_EQ(settings.UserRules[0].Text, L"ab");
}

TEST_F(SettingsPageTest, KeyFilterRefusesTheSevenPathCharactersOnly)
{
    std::vector<std::wstring> messages;
    Page().hooks.ShowMessage = [&](const std::wstring& text) { messages.push_back(text); };
    Click(8, Page().UserRule(5).tick.Handle());
    const HWND field = Page().UserRule(5).text.Handle();
    struct Key {
        wchar_t key;
        bool refused;
    };
    for (const Key& key : {Key{L'"', true}, Key{L'/', true}, Key{L':', true}, Key{L'<', true}, Key{L'>', true},
                           Key{L'\\', true}, Key{L'|', true}, Key{L'*', false}, Key{L'?', false}, Key{L'.', false},
                           Key{L' ', false}, Key{L'x', false}, Key{L'\x4E2D', false}, Key{L'\xFF1A', false}}) {
        SCOPED_TRACE(static_cast<int>(key.key));
        SetWindowTextW(field, L"");
        messages.clear();
        Type(field, std::wstring(1, key.key));
        EXPECT_EQ(Page().UserRule(5).text.Text(), key.refused ? L"" : std::wstring(1, key.key));
        EXPECT_EQ(messages.size(), key.refused ? 1u : 0u);
    }
    // Control keys pass: backspace takes the last letter away.
    SetWindowTextW(field, L"ab");
    SendMessageW(field, EM_SETSEL, 2, 2);
    Type(field, L"\b");
    EXPECT_EQ(Page().UserRule(5).text.Text(), L"a");
    EXPECT_EQ(settings.UserRules[5].Text, L"a");
}

TEST_F(SettingsPageTest, ChoosingAFolderKindAsksForTheFolderAndOtherKindsClearTheText)
{
    const auto& rule = Page().UserRule(7);
    Click(8, rule.tick.Handle());
    struct Step {
        int kind;
        std::optional<std::wstring> answer;
        const wchar_t* text;
        bool asks;
    };
    const Step steps[] = {
        {3, L"C:\\Data", L"C:\\Data\\", true},      // a backslash is added
        {4, L"C:\\Other\\", L"C:\\Other\\", true},  // and not doubled
        {0, std::nullopt, L"", false},
        {3, std::nullopt, L"", true},  // cancelled: the field stays empty
        {0, std::nullopt, L"", false},
        {2, std::nullopt, L"", false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.kind);
        Type(rule.text.Handle(), L"old");
        requests.clear();
        folderAnswer = step.answer;
        Choose(rule.kind, step.kind);
        EXPECT_EQ(rule.text.Text(), step.text);
        EXPECT_EQ(settings.UserRules[7].Text, step.text);
        EXPECT_EQ(settings.UserRules[7].Kind, step.kind);
        ASSERT_EQ(requests.size(), step.asks ? 1u : 0u);
        if (step.asks) {
            EXPECT_EQ(requests[0].caption, L"查找文件夹");
            EXPECT_EQ(requests[0].preset, L"");
        }
    }
}

TEST_F(SettingsPageTest, SkippedFoldersAreListedAsAddedAndStoredOncePerKey)
{
    const HWND sheet = Page().Sheet(9).Handle();
    folderAnswer = L"C:\\Keep";
    Click(9, GetDlgItem(sheet, IDC_SUI_BUTTON53));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].caption, L"请指定要跳过的文件夹");
    EXPECT_EQ(requests[0].preset, L"");

    Page().suiListBox2.SetSelected(0, true);
    Click(9, GetDlgItem(sheet, IDC_SUI_BUTTON53));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].preset, L"C:\\Keep\\") << "the dialog opens at the selected folder";
    EXPECT_THAT(SkipList(), ElementsAre(L"C:\\Keep\\", L"C:\\Keep\\"));
    EXPECT_THAT(SkipKeys(), ElementsAre(L"C:\\Keep\\"));

    folderAnswer = std::nullopt;
    Click(9, GetDlgItem(sheet, IDC_SUI_BUTTON53));
    EXPECT_EQ(SkipList().size(), 2u) << "a cancelled dialog adds nothing";

    folderAnswer = L"C:\\Temp\\Old";
    Click(9, GetDlgItem(sheet, IDC_SUI_BUTTON53));
    EXPECT_THAT(SkipKeys(), ElementsAre(L"C:\\Keep\\", L"C:\\Temp\\Old\\"));

    for (int i = 0; i < Page().suiListBox2.Count(); ++i)
        Page().suiListBox2.SetSelected(i, false);
    Click(9, GetDlgItem(sheet, IDC_SUI_BUTTON54));
    EXPECT_EQ(SkipList().size(), 3u) << "nothing selected: nothing removed";
    EXPECT_THAT(SkipKeys(), ElementsAre(L"C:\\Keep\\", L"C:\\Temp\\Old\\"));

    Page().suiListBox2.SetSelected(1, true);
    Click(9, GetDlgItem(sheet, IDC_SUI_BUTTON54));
    EXPECT_THAT(SkipList(), ElementsAre(L"C:\\Keep\\", L"C:\\Temp\\Old\\"));
    EXPECT_THAT(SkipKeys(), ElementsAre(L"C:\\Keep\\", L"C:\\Temp\\Old\\"));
    EXPECT_THAT(settings.SkipFolders, ElementsAre(L"C:\\Keep\\", L"C:\\Temp\\Old\\"));
}

TEST_F(SettingsPageTest, DriveListSelectsOnlyTheFixedDriveOnFirstStartAndEditsTheModel)
{
    const platform::ListView& list = Page().suiListView1;
    const LONG_PTR style = GetWindowLongPtrW(list.Handle(), GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_LIST);
    EXPECT_EQ(style & LVS_SINGLESEL, 0);
    EXPECT_NE(ListView_GetImageList(list.Handle(), LVSIL_SMALL), nullptr);

    struct Drive {
        wchar_t letter;
        bool selected;
    };
    for (const Drive& drive : {Drive{L'C', true}, Drive{L'D', false}, Drive{L'E', false}}) {
        SCOPED_TRACE(static_cast<char>(drive.letter));
        const int item = DriveItem(drive.letter);
        ASSERT_GE(item, 0);
        EXPECT_EQ(list.Selected(item), drive.selected);
        EXPECT_THAT(Utf8(list.ItemText(item, 0)), ::testing::HasSubstr(std::string("(") + static_cast<char>(drive.letter) + ":)"));
        EXPECT_THAT(Utf8(list.ItemText(item, 0)), ::testing::Not(::testing::HasSubstr(Utf8(ui::kHostDriveNote))));
        EXPECT_GE(list.ItemImage(item), 0);
        EXPECT_EQ(ModelDrive(drive.letter)->Selected, drive.selected);
    }
    EXPECT_EQ(static_cast<int>(settings.Drives.size()), list.ItemCount());

    list.SetSelected(DriveItem(L'E'), true);
    list.SetSelected(DriveItem(L'C'), false);
    EXPECT_TRUE(ModelDrive(L'E')->Selected);
    EXPECT_FALSE(ModelDrive(L'C')->Selected);
}

TEST_F(SettingsPageTest, HostDriveCarriesANoteAndIsLeftOutOfTheReset)
{
    // The prefix has no drive that leads to the host; C: stands in for one.
    Page().hooks.IsHostDrive = [](const std::wstring& root) { return root == L"C:\\"; };
    Page().Bind(settings, iniPath);
    const platform::ListView& list = Page().suiListView1;
    const std::wstring caption = list.ItemText(DriveItem(L'C'), 0);
    EXPECT_THAT(Utf8(caption), ::testing::EndsWith(Utf8(L"(C:)  (Linux 主机文件系统)")));
    EXPECT_THAT(Utf8(list.ItemText(DriveItem(L'D'), 0)), ::testing::Not(::testing::HasSubstr(Utf8(ui::kHostDriveNote))));

    ClickButton(IDC_SUI_BUTTON16);
    EXPECT_FALSE(list.Selected(DriveItem(L'C')));
    EXPECT_FALSE(ModelDrive(L'C')->Selected);
}

TEST_F(SettingsPageTest, Screenshots)
{
    settings.Categories[scan::kFirstUserRule] = {true, 1};
    settings.UserRules[0] = {0, L".log"};
    settings.Categories[scan::kFirstUserRule + 1] = {true, 2};
    settings.UserRules[1] = {4, L"C:\\Windows\\Temp\\"};
    settings.SkipFolders = {L"C:\\Data\\Keep\\", L"C:\\Program Files\\Tools\\"};
    TurnAwayAndBack();
    const wchar_t* const names[] = {L"start", L"tab1", L"tab2", L"tab3", L"tab4",
                                    L"tab5",  L"tab6", L"other", L"user", L"skip"};
    for (int tab = 0; tab < 10; ++tab) {
        Page().SelectTab(tab);
        PumpMessages(150);
        SaveScreenshot(form.Handle(), std::wstring(L"main-page10-settings-") + names[tab]);
    }
}

}  // namespace
}  // namespace ui_testing
