// The wizard clicked through in the whole program: welcome, "下一步", "清洁计算机", the scan,
// the results, "清理", the report, the finished page, with the junk gone from the test
// drive. Clicks on the scan buttons while the scan runs do nothing.
#include "ui_test_helpers.h"

#include "app/program.h"
#include "main_window_ids.h"
#include "resource.h"
#include "scan_pages_ids.h"
#include "support/test_support.h"

#include <gmock/gmock.h>

#include <atomic>
#include <cwchar>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

namespace ui_testing {
namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::RemoveTree;
using testing_support::TEnvironmentGuard;
using testing_support::Utf8;
using testing_support::WriteAgedFile;
using testing_support::WriteFileBytes;

// Answers every message dialog of the user-interface thread with its first button and
// keeps their texts, until destroyed.
class AnswerEveryDialog {
public:
    AnswerEveryDialog() : uiThread_(GetCurrentThreadId()), thread_([this] { Run(); }) {}
    ~AnswerEveryDialog()
    {
        stop_ = true;
        thread_.join();
    }
    std::vector<std::wstring> Texts()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return texts_;
    }

private:
    void Run()
    {
        while (!stop_) {
            HWND dialog = nullptr;
            EnumThreadWindows(
                uiThread_,
                [](HWND window, LPARAM param) -> BOOL {
                    if (!IsWindowVisible(window) || !GetDlgItem(window, IDC_MESSAGE_TEXT))
                        return TRUE;
                    *reinterpret_cast<HWND*>(param) = window;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&dialog));
            if (!dialog) {
                Sleep(30);
                continue;
            }
            Sleep(100);
            wchar_t text[1024] = {};
            SendMessageTimeoutW(GetDlgItem(dialog, IDC_MESSAGE_TEXT), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text),
                                SMTO_BLOCK, 5000, nullptr);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                texts_.push_back(text);
            }
            ClickDialogButton(dialog, 0);
            WaitDialogGone(dialog, 5000);
        }
    }

    DWORD uiThread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<std::wstring> texts_;
    std::thread thread_;
};

int ShownPage(const ui::TForm1& form)
{
    for (int index : {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
        if (IsWindowVisible(form.PageControl1.PageAt(index).Handle()))
            return index;
    return -1;
}

// A click on a page's button, as the button sends it.
void Click(const ui::TForm1& form, int page, int id)
{
    HWND pageWindow = form.PageControl1.PageAt(page).Handle();
    HWND button = GetDlgItem(pageWindow, id);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(IsWindowVisible(button) && IsWindowEnabled(button)) << "button " << id << " cannot be clicked";
    SendMessageW(pageWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PostClick(const ui::TForm1& form, int page, int id)
{
    HWND pageWindow = form.PageControl1.PageAt(page).Handle();
    PostMessageW(pageWindow, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(pageWindow, id)));
}

// The test's own folder (settings file, TEMP and TMP) and a folder of junk on the test drive E:,
// removed afterwards.
struct TWizardFolders {
    explicit TWizardFolders(const std::wstring& name)
        : dir(testing_support::TestDir()),
          seeded(L"E:\\" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\"),
          temp(dir + L"temp\\"),
          tempVariable(L"TEMP", temp),
          tmpVariable(L"TMP", temp)
    {
        CreateDirectoryW(temp.c_str(), nullptr);
    }
    ~TWizardFolders() { RemoveTree(seeded); }

    std::wstring dir;
    std::wstring seeded;
    std::wstring temp;
    TEnvironmentGuard tempVariable;
    TEnvironmentGuard tmpVariable;
};

TEST(WizardTest, CleanPcFromTheWelcomePageToTheFinishedPage)
{
    const TWizardFolders folders(L"wizard");
    const std::wstring& dir = folders.dir;
    const std::wstring& seeded = folders.seeded;

    const std::map<std::wstring, std::string> junk = {
        {seeded + L"a.tmp", "temporary bytes"}, {seeded + L"b.bak", "backup bytes"}, {seeded + L"c.old", "old bytes"}};
    for (const auto& [path, bytes] : junk)
        WriteAgedFile(path, bytes, 30);
    WriteAgedFile(seeded + L"keep.txt", "not junk", 30);
    WriteFileBytes(dir + L"Trimdex.ini",
                   "[HardDrive]\r\nUseTimeBuffer=1\r\nEndTMPAction=1\r\nEndBAKAction=1\r\nEndOLDAction=1\r\n"
                   "[DrivesSelected]\r\nC:\\=0\r\nD:\\=0\r\nE:\\=1\r\n");

    app::TProgram program(dir + L"Tidymate.exe");
    ui::TForm1& form = program.Form1;
    form.PlaySystemSound = [](UINT) {};
    // Each scan the window starts; the clicks made while it runs are posted at its start, so
    // the scan's own message pump handles them.
    int scans = 0;
    std::vector<int> modesAfterScans;
    const auto runScan = form.hooks.RunScan;
    form.hooks.RunScan = [&] {
        ++scans;
        PostClick(form, 5, IDC_CLEAN_PC_BUTTON);
        PostClick(form, 5, IDC_REMOVE_TRACKS_BUTTON);
        runScan();
        modesAfterScans.push_back(form.ScanMode);
        MSG left{};
        EXPECT_FALSE(PeekMessageW(&left, form.PageControl1.PageAt(5).Handle(), WM_COMMAND, WM_COMMAND, PM_NOREMOVE))
            << "the clicks during the scan were not handled while it ran";
    };

    std::vector<int> pages;
    std::vector<std::wstring> dialogs;
    bool scriptEnded = false;
    // The clicks run once the window is up, from its start timer.
    form.hooks.OnTimer = [&] {
        struct CloseAtEnd {
            HWND window;
            ~CloseAtEnd() { PostMessageW(window, WM_CLOSE, 0, 0); }
        } closeAtEnd{form.Handle()};
        pages.push_back(ShownPage(form));
        Click(form, 0, IDC_SUI_BUTTON1);
        pages.push_back(ShownPage(form));
        Click(form, 5, IDC_CLEAN_PC_BUTTON);
        pages.push_back(ShownPage(form));
        ASSERT_GE(form.Results.FindingCount(), junk.size());
        {
            AnswerEveryDialog answer;
            Click(form, 2, IDC_BUTTON2);
            PumpMessages(200);
            dialogs = answer.Texts();
        }
        pages.push_back(ShownPage(form));
        EXPECT_FALSE(form.Busy);
        scriptEnded = true;
    };
    EXPECT_EQ(program.Run(app::StartKind::Interactive), 0);

    ASSERT_TRUE(scriptEnded);
    EXPECT_THAT(pages, testing::ElementsAre(0, 5, 2, 4));
    EXPECT_EQ(scans, 1) << "a click while the scan ran started another";
    EXPECT_THAT(modesAfterScans, testing::ElementsAre(0));
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_THAT(Utf8(dialogs[0]), testing::EndsWith(" 个问题已清理"));
    for (const auto& [path, bytes] : junk)
        EXPECT_FALSE(FileExists(path)) << "not removed: " << Utf8(path);
    EXPECT_EQ(ReadFileBytes(seeded + L"keep.txt"), "not junk");
}

// Presses the scan page's stop button from another thread once the page counts `after`
// problems, the way a user would while the drive walk goes on.
class PressStopAfter {
public:
    PressStopAfter(const ui::TForm1& form, long after)
        : page_(form.PageControl1.PageAt(1).Handle()), after_(after), thread_([this] { Run(); })
    {
    }
    ~PressStopAfter()
    {
        done_ = true;
        thread_.join();
    }
    long CountWhenPressed() const { return pressedAt_; }

private:
    void Run()
    {
        while (!done_) {
            wchar_t text[64] = {};
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(GetDlgItem(page_, IDC_LABEL14), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text),
                                SMTO_BLOCK, 1000, &ignored);
            const long count = std::wcstol(text, nullptr, 10);
            if (count >= after_) {
                pressedAt_ = count;
                PostMessageW(page_, WM_COMMAND, MAKEWPARAM(IDC_SUI_BUTTON9, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(page_, IDC_SUI_BUTTON9)));
                return;
            }
            Sleep(5);
        }
    }

    HWND page_;
    long after_;
    std::atomic<bool> done_{false};
    std::atomic<long> pressedAt_{0};
    std::thread thread_;
};

TEST(WizardTest, StopDuringTheDriveWalkShowsWhatWasFoundSoFar)
{
    const TWizardFolders folders(L"wizard-stop");
    const std::wstring& dir = folders.dir;
    const std::wstring& seeded = folders.seeded;
    // Enough folders that the walk is still going when the stop arrives.
    constexpr long kJunkFiles = 3000;
    for (long i = 0; i < kJunkFiles; ++i)
        WriteAgedFile(seeded + L"d" + std::to_wstring(i) + L"\\x.tmp", "junk", 30);
    WriteFileBytes(dir + L"Trimdex.ini", "[DrivesSelected]\r\nC:\\=0\r\nD:\\=0\r\nE:\\=1\r\n");

    app::TProgram program(dir + L"Tidymate.exe");
    ui::TForm1& form = program.Form1;
    form.PlaySystemSound = [](UINT) {};
    long pressedAt = 0;
    int pageAfterScan = -1;
    bool busyAfterScan = true;
    form.hooks.OnTimer = [&] {
        struct CloseAtEnd {
            HWND window;
            ~CloseAtEnd() { PostMessageW(window, WM_CLOSE, 0, 0); }
        } closeAtEnd{form.Handle()};
        {
            PressStopAfter stop(form, 20);
            Click(form, 0, IDC_SUI_BUTTON1);
            Click(form, 5, IDC_CLEAN_PC_BUTTON);
            pressedAt = stop.CountWhenPressed();
        }
        pageAfterScan = ShownPage(form);
        busyAfterScan = form.Busy;
    };
    EXPECT_EQ(program.Run(app::StartKind::Interactive), 0);

    ASSERT_GE(pressedAt, 20) << "the stop was never pressed";
    EXPECT_EQ(pageAfterScan, 2) << "the results page shows the findings so far";
    EXPECT_FALSE(busyAfterScan);
    EXPECT_GE(form.Results.FindingCount(), static_cast<size_t>(pressedAt));
    EXPECT_LT(form.Results.FindingCount(), static_cast<size_t>(kJunkFiles)) << "the walk went on after the stop";
    EXPECT_TRUE(FileExists(seeded + L"d0\\x.tmp")) << "a stopped scan removes nothing";
}

}  // namespace
}  // namespace ui_testing
