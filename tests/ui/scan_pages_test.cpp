#include "ui_test_helpers.h"

#include "main_window_ids.h"
#include "platform/text.h"
#include "removal/skip_list.h"
#include "scan/catalogue.h"
#include "scan/scan_driver_ui.h"
#include "scan_pages_ids.h"
#include "support/test_support.h"
#include "ui/main_menu.h"
#include "ui/window_scan_host.h"

#include <gmock/gmock.h>

#include <chrono>
#include <cstring>
#include <iostream>
#include <optional>
#include <set>

namespace ui_testing {
namespace {

using ::testing::ElementsAre;
using testing_support::Utf8;
using testing_support::WriteFileBytes;

constexpr int kCategoryTmp = 0;       // ".TMP 文件", safety level 2
constexpr int kCategoryTemp = 7;
constexpr int kCategoryRecycle = 19;
constexpr int kCategoryRecent = 20;   // level 1
constexpr int kCategoryDesktopIni = 70;  // level 3
constexpr int kCategoryIndexDat = 69;

std::wstring TextOf(HWND window)
{
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

bool MenuItemEnabled(HWND form, int id)
{
    return !(GetMenuState(GetMenu(form), static_cast<UINT>(id), MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}

// A file written `days` ago, so the time buffer lets it through.
std::wstring OldFile(const std::wstring& path, size_t size, int days = 30)
{
    WriteFileBytes(path, std::string(size, 'x'));
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    ticks.QuadPart -= static_cast<ULONGLONG>(days) * 24 * 3600 * 10'000'000ULL;
    const FILETIME written{ticks.LowPart, ticks.HighPart};
    SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return path;
}

struct ShownNode {
    std::wstring text;
    int stateImage;
    bool operator==(const ShownNode&) const = default;
};
void PrintTo(const ShownNode& node, std::ostream* out) { *out << Utf8(node.text) << " [" << node.stateImage << "]"; }

class ScanPagesTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        dir = testing_support::TestDir();
        host().SetSettings(&settings);
        host().SetSkipListPath(dir + L"skip.ini");
    }

    ui::TWindowScanHost& host() { return *form.ScanHost; }
    HWND ScanItem(int id) const { return GetDlgItem(form.PageControl1.PageAt(scan::kScanPage).Handle(), id); }
    HWND ResultsItem(int id) const { return GetDlgItem(form.PageControl1.PageAt(scan::kResultsPage).Handle(), id); }
    platform::ListView List() const { return platform::ListView(ScanItem(IDC_LIST_VIEW1)); }
    platform::TreeView Tree() const { return platform::TreeView(ResultsItem(IDC_TREE_VIEW1)); }

    // The start of a scan as the driver makes it.
    void StartScan(int mode = scan::kScanCleanPC)
    {
        form.ScanMode = static_cast<uint8_t>(mode);
        host().SetResultsPage(true);
        host().BlankList();
        host().TurnPage(scan::kScanPage);
    }

    std::vector<ShownNode> Groups() const
    {
        std::vector<ShownNode> nodes;
        for (HTREEITEM node = Tree().Root(); node; node = Tree().Sibling(node))
            nodes.push_back({Tree().ItemText(node), Tree().StateImage(node)});
        return nodes;
    }
    std::vector<ShownNode> FindingsOf(size_t group) const
    {
        HTREEITEM node = Tree().Root();
        for (size_t i = 0; i < group && node; ++i)
            node = Tree().Sibling(node);
        std::vector<ShownNode> nodes;
        for (HTREEITEM child = node ? Tree().Child(node) : nullptr; child; child = Tree().Sibling(child))
            nodes.push_back({Tree().ItemText(child), Tree().StateImage(child)});
        return nodes;
    }

    // A mouse click on a node, with MK_CONTROL or MK_SHIFT.
    void ClickNode(HTREEITEM node, WPARAM keys = 0)
    {
        RECT bounds{};
        std::memcpy(&bounds, &node, sizeof node);  // TVM_GETITEMRECT takes the node in the rectangle
        ASSERT_TRUE(SendMessageW(Tree().Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&bounds)));
        const LPARAM point = MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
        SendMessageW(Tree().Handle(), WM_LBUTTONDOWN, MK_LBUTTON | keys, point);
        SendMessageW(Tree().Handle(), WM_LBUTTONUP, keys, point);
    }
    std::vector<std::wstring> SelectedTexts() const
    {
        std::vector<std::wstring> texts;
        for (HTREEITEM top = Tree().Root(); top; top = Tree().Sibling(top)) {
            if (Tree().IsSelected(top))
                texts.push_back(Tree().ItemText(top));
            for (HTREEITEM child = Tree().Child(top); child; child = Tree().Sibling(child))
                if (Tree().IsSelected(child))
                    texts.push_back(Tree().ItemText(child));
        }
        return texts;
    }

    app::TSettings settings;
    std::wstring dir;  // the test's own folder
};

TEST_F(ScanPagesTest, CategoryListHasOneRowPerCategoryAndNoCellsBeforeTheFirstScan)
{
    const platform::ListView list = List();
    std::vector<std::wstring> headers;
    for (int column = 0; column < 3; ++column) {
        wchar_t text[64] = {};
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT;
        info.pszText = text;
        info.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list.Handle(), LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info)));
        headers.push_back(text);
    }
    EXPECT_THAT(headers, ElementsAre(L"垃圾类型", L"状态", L"问题数"));
    ASSERT_EQ(list.ItemCount(), scan::kCategoryCount);
    for (const scan::TJunkCategory& category : scan::Catalogue()) {
        EXPECT_EQ(list.ItemText(category.Index, 0), category.RowCaption) << category.Index;
        EXPECT_EQ(list.ItemText(category.Index, 1), L"");
        EXPECT_EQ(list.ItemText(category.Index, 2), L"");
    }
    EXPECT_FALSE(GetWindowLongPtrW(list.Handle(), GWL_STYLE) & LVS_EDITLABELS);
    EXPECT_FALSE(IsWindowVisible(ScanItem(IDC_SUI_BUTTON9)));
}

TEST_F(ScanPagesTest, BlankListGivesEveryRowTheStatusOfTheScanMode)
{
    settings.Categories[kCategoryIndexDat].Enabled = false;
    settings.StubbornIndexDat.Enabled = true;
    settings.Categories[kCategoryTmp].Enabled = false;
    struct Case {
        int mode;
        int category;
        const wchar_t* status;
    } cases[] = {
        {scan::kScanCleanPC, kCategoryTmp, L"启用"},        // Clean PC takes its categories whatever the tick
        {scan::kScanRemoveTracks, kCategoryTmp, L"禁用"},
        {scan::kScanCustom, kCategoryTmp, L"禁用"},         // custom follows the unticked box
        {scan::kScanCustom, kCategoryIndexDat, L"启用"},    // either INDEX.DAT box counts
        {scan::kScanRegistry, kCategoryTmp, L"禁用"},
    };
    for (const Case& c : cases) {
        form.ScanMode = static_cast<uint8_t>(c.mode);
        host().BlankList();
        EXPECT_EQ(List().ItemText(c.category, 1), c.status) << "mode " << c.mode << " category " << c.category;
    }
    // Count cells appear with the first scan that reaches a row, and a new scan sets them to 0.
    host().ChangeLabel(kCategoryTemp);
    host().ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Test\\A", L"");
    host().Flush();
    EXPECT_EQ(List().ItemText(kCategoryTemp, 2), L"1");
    host().BlankList();
    EXPECT_EQ(List().ItemText(kCategoryTemp, 2), L"0");
    EXPECT_EQ(List().ItemText(kCategoryRecycle, 2), L"");
}

TEST_F(ScanPagesTest, FindingsShowRowStatusCountsAndTotals)
{
    form.SoundOn = true;
    WriteFileBytes(dir + L"skip.ini", testing_support::Utf8(L"[" + dir + L"skipped.tmp]\r\nKeyOnly=\r\n"));
    StartScan();
    beeps.clear();

    host().ChangeLabel(kCategoryTemp);
    host().ListBoxAddString(OldFile(dir + L"a.tmp", 1000), L"");
    host().ListBoxAddString(OldFile(dir + L"b.tmp", 536), L"");
    host().ListBoxAddString(OldFile(dir + L"skipped.tmp", 5000), L"");  // on the skip list
    host().ListBoxAddString(OldFile(dir + L"new.tmp", 5000, 3), L"");    // inside the time buffer
    host().ChangeLabel(kCategoryRecycle);
    host().ListBoxAddString(dir + L"vanished.tmp", L"");                   // listed without size
    host().Flush();

    EXPECT_EQ(List().ItemText(kCategoryTemp, 1), L"请稍等");
    EXPECT_EQ(List().ItemText(kCategoryTemp, 2), L"2");
    EXPECT_EQ(List().ItemText(kCategoryRecycle, 1), L"正在扫描");
    EXPECT_EQ(List().ItemText(kCategoryRecycle, 2), L"1");
    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL14)), L"3");
    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL11)), L"个问题");
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL2)), L"3");
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL3)), L"个问题已找到");
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL95)), L"1.5 KB");
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL96)), L"占用1.5 KB");
    // One beep per listed finding; dropped findings are silent.
    EXPECT_EQ(beeps, std::vector<UINT>(3, MB_ICONEXCLAMATION));
}

TEST_F(ScanPagesTest, ProgressLineShowsTheFolderAndTheDriverTexts)
{
    StartScan();
    host().SetProgressText(L"正在准备扫描 - 请稍等 - 这可能需要几分种时间");
    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL17)), L"正在准备扫描 - 请稍等 - 这可能需要几分种时间");
    host().ShowCurrentFolder(L"C:\\WINDOWS\\Temp\\");
    host().Flush();
    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL17)), L"当前文件夹: C:\\WINDOWS\\Temp\\");
    // A folder still waiting for the next repaint does not overwrite the closing text.
    host().ShowCurrentFolder(L"C:\\Later\\");
    host().SetProgressText(L"扫描完成");
    host().Flush();
    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL17)), L"扫描完成");
}

TEST_F(ScanPagesTest, TreeHoldsGroupsInOrderOfFirstFindingWithSafetyImages)
{
    StartScan();
    const std::wstring key = L"HKEY_CURRENT_USER\\Software\\Test\\";
    host().ChangeLabel(kCategoryRecent);
    host().ListBoxAddString(key + L"Recent1", L"");
    host().ChangeLabel(kCategoryDesktopIni);
    host().ListBoxAddString(key + L"Ini1", L"");
    host().ChangeLabel(kCategoryRecent);  // a category searched twice keeps one group
    host().ListBoxAddString(key + L"Recent2", L"");
    host().ListBoxAddString(key + L"\\:\"a\"=b", L"");
    host().SetResultsPage(false);

    const int recentLevel = scan::Category(kCategoryRecent).SafetyLevel;
    const int iniLevel = scan::Category(kCategoryDesktopIni).SafetyLevel;
    ASSERT_NE(recentLevel, iniLevel);
    EXPECT_THAT(Groups(), ElementsAre(ShownNode{scan::GroupCaption(kCategoryRecent, 3), recentLevel},
                                      ShownNode{scan::GroupCaption(kCategoryDesktopIni, 1), iniLevel}));
    EXPECT_THAT(FindingsOf(0), ElementsAre(ShownNode{key + L"Recent1", recentLevel}, ShownNode{key + L"Recent2", recentLevel},
                                           ShownNode{key + L"\\:\"a\"=b", recentLevel}));
    EXPECT_THAT(FindingsOf(1), ElementsAre(ShownNode{key + L"Ini1", iniLevel}));
    EXPECT_EQ(VisiblePage(), scan::kResultsPage);

    // The next scan starts with an empty tree.
    StartScan();
    EXPECT_EQ(Tree().Count(), 0);
}

TEST_F(ScanPagesTest, ResultsPageSwitchesItsCommandsBetweenScanningAndShowingResults)
{
    host().hooks.PrintList = [] {};
    const int buttons[] = {IDC_SUI_BUTTON6, IDC_SUI_BUTTON38, IDC_SUI_BUTTON11, IDC_BUTTON2};
    const int menuItems[] = {ui::DeleteJunkFiles1, ui::PrintList1};
    for (bool scanning : {true, false, true}) {
        SCOPED_TRACE(scanning ? "scanning" : "results");
        host().SetResultsPage(scanning);
        for (int id : buttons)
            EXPECT_EQ(Enabled(ResultsItem(id)), !scanning) << id;
        for (int id : menuItems)
            EXPECT_EQ(MenuItemEnabled(form.Handle(), id), !scanning) << id;
    }
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL2)), L"0");
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL3)), L"个问题已找到");
    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL14)), L"0");
    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL11)), L"个问题");
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL95)), L"");
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL96)), L"");

    // Printing is offered only once something prints.
    host().hooks.PrintList = nullptr;
    host().SetResultsPage(false);
    EXPECT_FALSE(Enabled(ResultsItem(IDC_SUI_BUTTON6)));
    EXPECT_FALSE(MenuItemEnabled(form.Handle(), ui::PrintList1));
    EXPECT_TRUE(MenuItemEnabled(form.Handle(), ui::DeleteJunkFiles1));
}

TEST_F(ScanPagesTest, StopButtonShowsTheModeCaptionAndOnlyRequestsTheStop)
{
    Show();
    StartScan();
    host().ShowStopButton(L"停止 \"清洁计算机\" 扫描");
    HWND stop = ScanItem(IDC_SUI_BUTTON9);
    EXPECT_TRUE(IsWindowVisible(stop));
    EXPECT_EQ(TextOf(stop), L"停止 \"清洁计算机\" 扫描");
    ClickPageButton(scan::kScanPage, IDC_SUI_BUTTON9);
    EXPECT_TRUE(form.StopRequested);
    EXPECT_TRUE(host().StopRequested());
    EXPECT_EQ(VisiblePage(), scan::kScanPage);
    host().ShowStopButton(L"");
    EXPECT_FALSE(IsWindowVisible(stop));
}

TEST_F(ScanPagesTest, CleanButtonAndMenuItemRunTheRemoval)
{
    int removals = 0;
    host().hooks.Button2Click = [&] { ++removals; };
    host().SetResultsPage(false);
    ClickPageButton(scan::kResultsPage, IDC_BUTTON2);
    SendCommand(ui::DeleteJunkFiles1);
    host().RemoveFindings();
    EXPECT_EQ(removals, 3);
}

// Three findings under one group and one under another, shown on the results page.
class SkipButtonsTest : public ScanPagesTest {
protected:
    void SetUp() override
    {
        ScanPagesTest::SetUp();
        Show();
        StartScan();
        host().ChangeLabel(kCategoryTmp);
        for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp"})
            host().ListBoxAddString(OldFile(dir + name, 10), L"");
        host().ChangeLabel(kCategoryRecent);
        host().ListBoxAddString(kValue, L"");
        host().SetResultsPage(false);
    }
    HTREEITEM Node(size_t group, int child) const
    {
        HTREEITEM node = Tree().Root();
        for (size_t i = 0; i < group; ++i)
            node = Tree().Sibling(node);
        if (child < 0)
            return node;
        node = Tree().Child(node);
        for (int i = 0; i < child; ++i)
            node = Tree().Sibling(node);
        return node;
    }
    std::wstring SkipFile() const { return dir + L"skip.ini"; }

    const std::wstring kValue = L"HKEY_CURRENT_USER\\Software\\Test\\RunMRU\\\\:\"a\"=notepad\\1";
};

TEST_F(SkipButtonsTest, BothCommandsTakeTheSelectedFindingsOutAndRecount)
{
    struct Case {
        int button;
        bool writesSkipList;
    } cases[] = {{IDC_SUI_BUTTON38, true}, {IDC_SUI_BUTTON11, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        DeleteFileW(SkipFile().c_str());
        StartScan();
        host().ChangeLabel(kCategoryTmp);
        for (const wchar_t* name : {L"a.tmp", L"b.tmp", L"c.tmp"})
            host().ListBoxAddString(dir + name, L"");
        host().ChangeLabel(kCategoryRecent);
        host().ListBoxAddString(kValue, L"");
        host().SetResultsPage(false);
        const std::wstring header = Tree().ItemText(Node(0, -1));

        ClickNode(Node(0, 0));
        ClickNode(Node(0, -1), MK_CONTROL);  // a header in the selection stays
        ClickNode(Node(0, 2), MK_CONTROL);
        ClickNode(Node(1, 0), MK_CONTROL);
        ClickPageButton(scan::kResultsPage, c.button);

        EXPECT_THAT(Groups(), ElementsAre(ShownNode{header, scan::Category(kCategoryTmp).SafetyLevel},
                                          ShownNode{scan::GroupCaption(kCategoryRecent, 1),
                                                    scan::Category(kCategoryRecent).SafetyLevel}));
        ASSERT_EQ(FindingsOf(0).size(), 1u);
        EXPECT_EQ(FindingsOf(0)[0].text, dir + L"b.tmp");
        EXPECT_TRUE(FindingsOf(1).empty());
        EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL2)), L"1");
        EXPECT_EQ(form.Results.ProblemCount(), 1);

        EXPECT_EQ(testing_support::FileExists(SkipFile()), c.writesSkipList);
        if (c.writesSkipList) {
            const std::optional<std::vector<std::wstring>> lines = platform::ReadTextLines(SkipFile());
            ASSERT_TRUE(lines);
            const std::set<std::wstring> written(lines->begin(), lines->end());
            for (const std::wstring& line :
                 {L"[" + dir + L"a.tmp]", L"[" + dir + L"c.tmp]", std::wstring(L"KeyOnly="),
                  std::wstring(L"[HKEY_CURRENT_USER\\Software\\Test\\RunMRU]"), std::wstring(L"\"a\"=notepad\\1")})
                EXPECT_TRUE(written.contains(line)) << Utf8(line);
            EXPECT_FALSE(written.contains(L"[" + dir + L"b.tmp]"));
            // The next scan drops what was skipped.
            StartScan();
            host().ChangeLabel(kCategoryTmp);
            host().ListBoxAddString(dir + L"a.tmp", L"");
            host().ListBoxAddString(dir + L"b.tmp", L"");
            host().Flush();
            EXPECT_EQ(TextOf(ScanItem(IDC_LABEL14)), L"1");
        }
    }
}

TEST_F(SkipButtonsTest, NothingSelectedExplainsTheButtonAndChangesNothing)
{
    for (int button : {IDC_SUI_BUTTON38, IDC_SUI_BUTTON11}) {
        DialogWatcher watcher(DialogWatcher::ClickButton(0));
        ClickPageButton(scan::kResultsPage, button);
        EXPECT_EQ(watcher.Seen().text, removal::kNothingSelectedMessage);
    }
    EXPECT_EQ(Tree().Count(), 6);
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL2)), L"4");
    EXPECT_FALSE(testing_support::FileExists(SkipFile()));
}

TEST_F(SkipButtonsTest, TreeSelectsSeveralNodesWithControlAndShift)
{
    const std::wstring a = dir + L"a.tmp", b = dir + L"b.tmp", c = dir + L"c.tmp";
    const std::wstring tmpHeader = Tree().ItemText(Node(0, -1));
    const std::wstring recentHeader = Tree().ItemText(Node(1, -1));
    struct Step {
        size_t group;
        int child;
        WPARAM keys;
        std::vector<std::wstring> selected;
    } steps[] = {
        {0, 0, 0, {a}},
        {0, 2, MK_CONTROL, {a, c}},
        {0, 0, MK_CONTROL, {c}},  // Ctrl+click takes one away
        {1, 0, MK_SHIFT, {a, b, c, recentHeader, kValue}},  // from the last clicked node down
        {0, -1, MK_SHIFT, {tmpHeader, a}},                   // and up from the same anchor
        {0, 1, 0, {b}},
    };
    for (const Step& step : steps) {
        ClickNode(Node(step.group, step.child), step.keys);
        EXPECT_EQ(SelectedTexts(), step.selected) << step.group << "/" << step.child << " keys " << step.keys;
    }
}

TEST_F(ScanPagesTest, ManyFindingsAddQuicklyAndEndWithExactTotals)
{
    constexpr int kFindings = 20000;
    Show();
    StartScan();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kFindings; ++i) {
        if (i % 5000 == 0)
            host().ChangeLabel(kCategoryTmp + i / 5000);
        host().ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Test\\Key" + std::to_wstring(i), L"");
        host().ProcessMessages();
    }
    host().SetProgressText(L"扫描完成");
    host().SetResultsPage(false);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 3.0);
    std::cout << kFindings << " findings in " << seconds << " s\n";

    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL14)), L"20000");
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL2)), L"20000");
    EXPECT_THAT(Groups(), ElementsAre(ShownNode{scan::GroupCaption(0, 5000), scan::Category(0).SafetyLevel},
                                      ShownNode{scan::GroupCaption(1, 5000), scan::Category(1).SafetyLevel},
                                      ShownNode{scan::GroupCaption(2, 5000), scan::Category(2).SafetyLevel},
                                      ShownNode{scan::GroupCaption(3, 5000), scan::Category(3).SafetyLevel}));
    EXPECT_EQ(List().ItemText(kCategoryTmp + 3, 2), L"5000");
    EXPECT_EQ(List().ItemText(kCategoryTmp + 3, 1), L"正在扫描");
    EXPECT_EQ(VisiblePage(), scan::kResultsPage);
}

TEST_F(ScanPagesTest, MessagesArePumpedAtMostEveryFifteenMilliseconds)
{
    constexpr UINT kProbe = WM_APP + 7;
    constexpr int kRunMs = 300;
    int calls = 0;
    int pumped = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRunMs);
    while (std::chrono::steady_clock::now() < end) {
        PostMessageW(form.Handle(), kProbe, 0, 0);
        host().ProcessMessages();
        MSG left;
        if (!PeekMessageW(&left, form.Handle(), kProbe, kProbe, PM_REMOVE))
            ++pumped;
        ++calls;
    }
    EXPECT_GE(pumped, 2);
    EXPECT_LE(pumped, kRunMs / ui::TWindowScanHost::kPumpIntervalMs + 2) << "of " << calls << " calls";
    EXPECT_GT(calls, pumped * 3);
}

TEST_F(ScanPagesTest, ManyResultsShowClosedGroupsThatFillWhenOpened)
{
    const size_t kFindings = ui::TResultsView::kOpenGroupsLimit + 1;
    Show();
    StartScan();
    host().ChangeLabel(kCategoryTmp);
    host().ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Test\\First", L"");
    host().ChangeLabel(kCategoryRecent);
    for (size_t i = 1; i < kFindings; ++i)
        host().ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Test\\Key" + std::to_wstring(i), L"");
    host().SetResultsPage(false);
    EXPECT_EQ(Tree().Count(), 2);

    // The user opens the first group, then skips its finding.
    HTREEITEM first = Tree().Root();
    SendMessageW(Tree().Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(first));
    EXPECT_THAT(FindingsOf(0), ElementsAre(ShownNode{L"HKEY_CURRENT_USER\\Software\\Test\\First",
                                                     scan::Category(kCategoryTmp).SafetyLevel}));
    ClickNode(Tree().Child(first));
    ClickPageButton(scan::kResultsPage, IDC_SUI_BUTTON11);
    EXPECT_EQ(Tree().Count(), 2);
    EXPECT_EQ(TextOf(ResultsItem(IDC_LABEL2)), std::to_wstring(kFindings - 1));
    EXPECT_EQ(form.Results.Groups()[1].Findings.size(), kFindings - 1);
}

TEST_F(ScanPagesTest, CountsCatchUpWhileTheScanRuns)
{
    Show();
    StartScan();
    host().ChangeLabel(kCategoryTmp);
    host().Flush();
    for (int i = 0; i < 10; ++i)
        host().ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Test\\Key" + std::to_wstring(i), L"");
    Sleep(ui::TWindowScanHost::kRepaintIntervalMs + 20);
    host().ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\Test\\Last", L"");
    EXPECT_EQ(TextOf(ScanItem(IDC_LABEL14)), L"11");
    EXPECT_EQ(List().ItemText(kCategoryTmp, 2), L"11");
    EXPECT_THAT(Groups(), ElementsAre(ShownNode{scan::GroupCaption(kCategoryTmp, 11), scan::Category(kCategoryTmp).SafetyLevel}));
}

TEST_F(ScanPagesTest, Screenshots)
{
    constexpr int kOldFiles2001 = 14;  // safety level 4
    constexpr int kFirstUserRule = scan::kFirstUserRule;  // level 5
    settings.UserRules[0].Text = L"*.log";
    Show();
    StartScan();
    host().ShowStopButton(L"停止 \"清洁计算机\" 扫描");
    const int categories[] = {kCategoryRecent, kCategoryTmp, kCategoryDesktopIni, kOldFiles2001, kFirstUserRule};
    for (int category : categories) {
        host().ChangeLabel(category);
        for (int i = 0; i < 2; ++i) {
            const std::wstring name = std::to_wstring(category) + L"_" + std::to_wstring(i) + L".tmp";
            host().ListBoxAddString(OldFile(dir + L"文件夹\\" + name, static_cast<size_t>(1000 * (i + 1))), L"");
        }
    }
    host().ListBoxAddString(L"HKEY_CURRENT_USER\\Software\\未知\\Key", L"");
    host().ShowCurrentFolder(dir + L"文件夹\\");
    host().Flush();
    PumpMessages(200);
    SaveScreenshot(form.Handle(), L"scan_page");

    host().ShowStopButton(L"");
    host().SetProgressText(L"扫描完成");
    host().SetResultsPage(false);
    ClickNode(Tree().Child(Tree().Root()));
    ClickNode(Tree().Child(Tree().Sibling(Tree().Sibling(Tree().Root()))), MK_CONTROL);
    PumpMessages(200);
    SaveScreenshot(form.Handle(), L"results_page");
    EXPECT_EQ(VisiblePage(), scan::kResultsPage);
}

}  // namespace
}  // namespace ui_testing
