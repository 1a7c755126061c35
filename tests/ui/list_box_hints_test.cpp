// Hints over plain list box items: pointing at an item shows its full text laid over the
// item; no hint below the last item; other controls get none.
#include "ui_test_helpers.h"

#include "platform/list_box_hints.h"
#include "support/test_support.h"

#include <commctrl.h>

namespace ui_testing {
namespace {

const std::wstring kLongItem = L"C:\\Documents and Settings\\用户\\Local Settings\\Temporary Internet Files\\a.htm";
const std::wstring kShortItem = L"a.tmp";

struct ThreadTip {
    HWND window = nullptr;
    std::wstring text;
    RECT bounds{};
};

// The visible tooltip of this thread's windows, if any.
ThreadTip VisibleTip()
{
    ThreadTip tip;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0 || !IsWindowVisible(window))
                return TRUE;
            reinterpret_cast<ThreadTip*>(param)->window = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&tip));
    if (!tip.window)
        return tip;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    if (SendMessageW(tip.window, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool))) {
        wchar_t text[512] = {};
        tool.lpszText = text;
        SendMessageW(tip.window, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
        tip.text = text;
    }
    GetWindowRect(tip.window, &tip.bounds);
    return tip;
}

class ListBoxHintsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Show();
        form.TurnPage(10);
        page = form.PageControl1.PageAt(10).Handle();
        // Made after the window, as the pages of other parts make theirs.
        listBox = CreateWindowExW(WS_EX_CLIENTEDGE, L"ListBox", nullptr, WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT,
                                  20, 20, 160, 120, page, nullptr, nullptr, nullptr);
        SendMessageW(listBox, WM_SETFONT, SendMessageW(page, WM_GETFONT, 0, 0), FALSE);
        for (const std::wstring& item : {kLongItem, kShortItem})
            SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        PumpMessages(50);
    }

    RECT ItemRect(int item) const
    {
        RECT rect{};
        SendMessageW(listBox, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
        return rect;
    }
    // Moves the mouse to a point of a control's client area, as the user would.
    void Point(HWND control, POINT client)
    {
        POINT screen = client;
        ClientToScreen(control, &screen);
        SetCursorPos(screen.x, screen.y);
        SendMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
        PumpMessages(150);
    }

    HWND page = nullptr;
    HWND listBox = nullptr;
};

TEST_F(ListBoxHintsTest, HintComesFromTheItemUnderTheMouseOnly)
{
    const RECT first = ItemRect(0);
    const RECT second = ItemRect(1);
    POINT client{0, 0};
    ClientToScreen(listBox, &client);
    struct Case {
        const char* name;
        POINT point;
        bool show;
        int item;
    };
    const Case cases[] = {
        {"first item", {10, (first.top + first.bottom) / 2}, true, 0},
        {"second item, right end", {150, second.top + 1}, true, 1},
        {"just below the last item", {10, second.bottom + 1}, false, -1},
        {"far below the last item", {10, 100}, false, -1},
        {"left of the client area", {-3, first.top + 1}, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const platform::ListBoxHint hint = platform::DoShowHint(listBox, c.point);
        EXPECT_EQ(hint.show, c.show);
        if (!c.show)
            continue;
        const RECT item = ItemRect(c.item);
        EXPECT_EQ(hint.item, c.item);
        EXPECT_EQ(hint.text, c.item == 0 ? kLongItem : kShortItem);
        EXPECT_EQ(hint.position.x, client.x - 1);
        EXPECT_EQ(hint.position.y, client.y + item.top);
        EXPECT_TRUE(EqualRect(&hint.itemRect, &item));
    }
    // The width limit is the text's width in the list box's font, plus one.
    const platform::ListBoxHint wide = platform::DoShowHint(listBox, {10, first.top + 1});
    const platform::ListBoxHint narrow = platform::DoShowHint(listBox, {10, second.top + 1});
    EXPECT_GT(wide.maxWidth, 160) << "the long item is wider than its list box";
    EXPECT_LT(narrow.maxWidth, 60);
    EXPECT_GT(narrow.maxWidth, 1);
}

TEST_F(ListBoxHintsTest, PointingShowsTheFullTextOverTheItemAndBelowTheItemsHidesIt)
{
    const RECT first = ItemRect(0);
    Point(listBox, {30, (first.top + first.bottom) / 2});
    ThreadTip tip = VisibleTip();
    ASSERT_NE(tip.window, nullptr) << "no hint over the item";
    EXPECT_EQ(tip.text, kLongItem);
    POINT client{0, first.top};
    ClientToScreen(listBox, &client);
    EXPECT_EQ(tip.bounds.left, client.x - 1);
    EXPECT_EQ(tip.bounds.top, client.y);
    EXPECT_GT(tip.bounds.right - tip.bounds.left, 160) << "the hint shows the whole text";
    EXPECT_LT(tip.bounds.bottom - tip.bounds.top, 2 * (first.bottom - first.top) + 4) << "one line";
    SaveScreenshot(form.Handle(), L"list-box-hint");

    const RECT second = ItemRect(1);
    Point(listBox, {30, second.top + 2});
    tip = VisibleTip();
    ASSERT_NE(tip.window, nullptr);
    EXPECT_EQ(tip.text, kShortItem);

    Point(listBox, {30, second.bottom + 20});
    EXPECT_EQ(VisibleTip().window, nullptr) << "a hint below the last item";
}

TEST_F(ListBoxHintsTest, OtherControlsGetNoHint)
{
    // The list of a simple combo box is no plain list box.
    HWND combo = CreateWindowExW(0, L"ComboBox", nullptr, WS_CHILD | WS_VISIBLE | CBS_SIMPLE, 200, 20, 100, 120, page,
                                 nullptr, nullptr, nullptr);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kLongItem.c_str()));
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    Point(info.hwndList, {10, 5});
    EXPECT_EQ(VisibleTip().window, nullptr);

    HWND edit = CreateWindowExW(0, L"Edit", kLongItem.c_str(), WS_CHILD | WS_VISIBLE, 20, 200, 100, 20, page, nullptr,
                                nullptr, nullptr);
    Point(edit, {10, 5});
    EXPECT_EQ(VisibleTip().window, nullptr);
}

}  // namespace
}  // namespace ui_testing
