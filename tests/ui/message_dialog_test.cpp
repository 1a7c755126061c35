#include "ui_test_helpers.h"

#include <gmock/gmock.h>

namespace ui_testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

struct Layout {
    int buttons;
    std::vector<std::wstring> captions;
    std::vector<int> results;
};

const Layout kLayouts[] = {
    {MB_OK, {L"确定"}, {IDOK}},
    {MB_OKCANCEL, {L"确定", L"取消"}, {IDOK, IDCANCEL}},
    {MB_ABORTRETRYIGNORE, {L"中止", L"重试", L"忽略"}, {IDABORT, IDRETRY, IDIGNORE}},
    {MB_YESNOCANCEL, {L"是", L"否", L"取消"}, {IDYES, IDNO, IDCANCEL}},
    {MB_YESNO, {L"是", L"否"}, {IDYES, IDNO}},
    {MB_RETRYCANCEL, {L"重试", L"取消"}, {IDRETRY, IDCANCEL}},
    {6, {L"确定"}, {IDOK}},
    {-1, {L"确定"}, {IDOK}},
};

TEST_F(MainWindowTest, MessageBoxLayoutsShowTheirButtonsAndReturnTheClickedResult)
{
    Show();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    for (const Layout& layout : kLayouts) {
        for (size_t clicked = 0; clicked < layout.results.size(); ++clicked) {
            SCOPED_TRACE(testing::Message() << "buttons " << layout.buttons << " click " << clicked);
            DialogWatcher watcher(DialogWatcher::ClickButton(clicked));
            const int result = form.suiMessageBox(L"要继续吗?", L"标题", layout.buttons, 0);
            const SeenDialog& seen = watcher.Seen();
            ASSERT_TRUE(seen.found);
            EXPECT_EQ(seen.caption, L"标题");
            EXPECT_EQ(seen.text, L"要继续吗?");
            EXPECT_THAT(seen.buttons, ElementsAreArray(layout.captions));
            EXPECT_EQ(result, layout.results[clicked]);
            EXPECT_NEAR((seen.bounds.left + seen.bounds.right) / 2, (work.left + work.right) / 2, 1);
            EXPECT_NEAR((seen.bounds.top + seen.bounds.bottom) / 2, (work.top + work.bottom) / 2, 1);
        }
    }
}

TEST_F(MainWindowTest, DefaultLayoutComesBackAfterEachCall)
{
    Show();
    {
        DialogWatcher watcher(DialogWatcher::ClickButton(1));
        EXPECT_EQ(form.suiMessageBox(L"保存更改吗?", L"Kelvo Tidymate", MB_YESNOCANCEL, 0), IDNO);
    }
    DialogWatcher watcher(DialogWatcher::ClickButton(0));
    form.suiShowMessage(L"已完成.");
    const SeenDialog& seen = watcher.Seen();
    EXPECT_EQ(seen.caption, L"Kelvo Tidymate");
    EXPECT_THAT(seen.buttons, ElementsAre(L"确定"));
}

struct KeyCase {
    int buttons;
    WORD key;
    bool closesDialog;
    int result;  // when the key leaves the dialog open, the second button is clicked
};

TEST_F(MainWindowTest, EscapeCancelsWhereACancelExistsAndEnterTakesTheFirstButton)
{
    Show();
    const KeyCase cases[] = {
        {MB_OK, VK_ESCAPE, true, IDOK},
        {MB_OKCANCEL, VK_ESCAPE, true, IDCANCEL},
        {MB_YESNOCANCEL, VK_ESCAPE, true, IDCANCEL},
        {MB_RETRYCANCEL, VK_ESCAPE, true, IDCANCEL},
        {MB_YESNO, VK_ESCAPE, false, IDNO},
        {MB_ABORTRETRYIGNORE, VK_ESCAPE, false, IDRETRY},
        {MB_YESNOCANCEL, VK_RETURN, true, IDYES},
        {MB_ABORTRETRYIGNORE, VK_RETURN, true, IDABORT},
    };
    for (const KeyCase& test : cases) {
        SCOPED_TRACE(testing::Message() << "buttons " << test.buttons << " key " << test.key);
        bool closedByKey = false;
        DialogWatcher watcher([&](HWND dialog, const SeenDialog&) {
            PressDialogKey(dialog, test.key);
            closedByKey = WaitDialogGone(dialog, 1000);
            if (!closedByKey)
                ClickDialogButton(dialog, 1);
        });
        const int result = form.suiMessageBox(L"按键", L"标题", test.buttons, 0);
        watcher.Seen();
        EXPECT_EQ(closedByKey, test.closesDialog);
        EXPECT_EQ(result, test.result);
    }
}

}  // namespace
}  // namespace ui_testing
