// The check-for-updates window against a local web server: "继续" runs the check, the
// answers come in standard message boxes, and the window closes afterwards.
#include "ui_test_helpers.h"
#include "window_watcher.h"

#include "app/update_check.h"
#include "support/http_test_server.h"
#include "support/test_support.h"
#include "ui/update_window.h"
#include "update_window_ids.h"

namespace ui_testing {
namespace {

using testing_support::HttpTestServer;

std::string Pad(const std::string& version)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<XML_DIZ_INFO>\r\n<Program_Info>\r\n"
           "<Program_Version>" + version + "</Program_Version>\r\n</Program_Info>\r\n</XML_DIZ_INFO>\r\n";
}

struct TAnswer {
    const wchar_t* caption;
    int button;
};

struct TCase {
    const char* name;
    std::string version;        // empty: nothing served
    std::vector<TAnswer> boxes;  // expected in this order, answered with `button`
    bool pageOpened;
    bool endProgram;
};

class UpdateWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.ProgramFolder = testing_support::TestDir();
        form.AboutVersionText = [] { return std::wstring(L"v.1.01.65  12/20/2008"); };
        form.Addresses.DownloadPage = L"http://example.test/tidymate/download.htm";
        form.OpenAddress = [this](HWND, const std::wstring& address) { opened.push_back(address); };
    }

    // Shows the window, presses "继续" and answers the message boxes; what the boxes showed.
    std::vector<SeenMessageBox> Run(const std::vector<TAnswer>& answers, INT_PTR& result,
                                    const std::wstring& screenshot = L"")
    {
        std::vector<SeenMessageBox> seen;
        ThreadWatcher watcher([&](DWORD uiThread) {
            HWND window = WaitForDialog(uiThread, L"检查更新");
            if (!window)
                return;
            if (!screenshot.empty()) {
                Sleep(100);
                SaveScreenshot(window, screenshot);
            }
            PostButtonClick(window, IDOK);
            for (const TAnswer& answer : answers)
                seen.push_back(AnswerMessageBox(uiThread, answer.caption, answer.button));
        });
        result = form.ShowModal(nullptr);
        watcher.Join();
        return seen;
    }

    ui::TForm7 form;
    std::vector<std::wstring> opened;
};

TEST_F(UpdateWindowTest, ContinueChecksTheOnlineVersionAndAsksInStandardMessageBoxes)
{
    const std::vector<int> yesNo = {IDYES, IDNO};
    const TCase cases[] = {
        {"same version", "1.01.65", {{L"Kelvo Tidymate", IDOK}}, false, false},
        {"older", "1.00.99", {{L"Kelvo Tidymate", IDOK}}, false, false},
        {"cannot parse", "1.1", {{L"Kelvo Tidymate", IDOK}}, false, false},
        {"no server", "", {{L"Kelvo Tidymate", IDOK}}, false, false},
        {"newer, not wanted", "1.01.66", {{L"发现更新", IDNO}}, false, false},
        {"newer, downloaded later", "2.0.0", {{L"发现更新", IDYES}, {L"关闭 Kelvo", IDNO}}, true, false},
        {"newer, close now", "1.01.66", {{L"发现更新", IDYES}, {L"关闭 Kelvo", IDYES}}, true, true},
    };
    const std::map<std::string, std::wstring> plainTexts = {
        {"same version", app::kUpToDateText},
        {"older", app::kUpToDateText},
        {"cannot parse", app::kCannotParseText},
        {"no server", app::kCannotDownloadText},
    };
    HttpTestServer server;
    int n = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = "/case" + std::to_string(++n) + "/pad.xml";
        if (c.version.empty()) {
            form.Addresses.VersionFile = HttpTestServer::UnservedUrl(path);
        } else {
            server.Serve(path, Pad(c.version));
            form.Addresses.VersionFile = server.Url(path);
        }
        opened.clear();
        INT_PTR result = 0;
        const std::vector<SeenMessageBox> seen = Run(c.boxes, result);

        EXPECT_EQ(result, IDOK) << "the window closes after the check";
        ASSERT_EQ(seen.size(), c.boxes.size());
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].caption, c.boxes[i].caption) << "message box " << i << " did not come";
            if (seen[i].caption == L"Kelvo Tidymate") {
                EXPECT_EQ(seen[i].text, plainTexts.at(c.name));
                EXPECT_EQ(seen[i].buttons, std::vector<int>{IDOK});
                EXPECT_FALSE(seen[i].icon);
            } else {
                EXPECT_EQ(seen[i].text, seen[i].caption == L"发现更新" ? app::kDownloadQuestionText
                                                                      : app::kCloseQuestionText);
                EXPECT_EQ(seen[i].buttons, yesNo);
                EXPECT_TRUE(seen[i].icon);
            }
        }
        EXPECT_EQ(opened, c.pageOpened ? std::vector<std::wstring>{L"http://example.test/tidymate/download.htm"}
                                       : std::vector<std::wstring>{});
        EXPECT_EQ(form.EndProgramRequested, c.endProgram);
    }
}

TEST_F(UpdateWindowTest, WindowTakesTheSkinItIsGivenAndStaysOnTop)
{
    HttpTestServer server;
    server.Serve("/pad.xml", Pad("1.01.65"));
    form.Addresses.VersionFile = server.Url("/pad.xml");
    HWND shown = nullptr;
    RECT client{};
    LONG_PTR exStyle = 0;
    std::wstring button;
    COLORREF face = 0;
    form.suiThemeManager1.SetUIStyle(platform::kSkinProtein);
    ThreadWatcher watcher([&](DWORD uiThread) {
        shown = WaitForDialog(uiThread, L"检查更新");
        if (!shown)
            return;
        Sleep(150);
        SaveScreenshot(shown, L"update_window");
        GetClientRect(shown, &client);
        exStyle = GetWindowLongPtrW(shown, GWL_EXSTYLE);
        button = WindowText(GetDlgItem(shown, IDOK));
        POINT point{4, client.bottom - 4};
        ClientToScreen(shown, &point);
        HDC screen = GetDC(nullptr);
        face = GetPixel(screen, point.x, point.y);
        ReleaseDC(nullptr, screen);
        PostButtonClick(shown, IDCANCEL);
    });
    EXPECT_EQ(form.ShowModal(nullptr), IDCANCEL);
    watcher.Join();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(button, L"继续");
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_EQ(client.right, ui::TForm7::kClientWidth);
    EXPECT_EQ(face, form.suiThemeManager1.Palette().face) << "painted in the skin's face colour";
}

}  // namespace
}  // namespace ui_testing
