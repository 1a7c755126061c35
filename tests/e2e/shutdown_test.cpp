// The shutdown at the end of an unattended run. These cases end the whole Wine session, so
// they run only through host_checks.cmake, in a prefix made for them and thrown away after.
#include <gtest/gtest.h>

#include "countdown_window_ids.h"
#include "e2e/program_process.h"
#include "support/test_support.h"

using e2e::ProgramProcess;
using testing_support::FileExists;
using testing_support::TestDir;
using testing_support::WriteFileBytes;

namespace {

// Close and ShutDown ticked; no scan type, so the run scans nothing and goes straight on to
// the finish action.
constexpr char kSettings[] = "[AutoRun]\r\nswitch=1\r\nFreq=4\r\nType=9\r\nClose=1\r\nShutDown=1\r\n";

HWND WaitForCountdown(const ProgramProcess& program, DWORD timeoutMs)
{
    struct Search {
        DWORD processId;
        HWND found;
    };
    for (DWORD waited = 0; waited < timeoutMs && program.Running(); waited += 100) {
        Search search{program.ProcessId(), nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                wchar_t title[32] = {};
                GetWindowTextW(window, title, 32);
                if (owner != s->processId || !IsWindowVisible(window) || std::wstring(title) != L"警告")
                    return TRUE;
                s->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(100);
    }
    return nullptr;
}

}  // namespace

TEST(HostCheckedShutdown, CancelInTheCountdownLeavesTheProgramOpen)
{
    const std::wstring dir = TestDir();
    WriteFileBytes(dir + L"Trimdex.ini", kSettings);
    ProgramProcess program(dir, L"schedule");
    HWND countdown = WaitForCountdown(program, 60000);
    ASSERT_NE(countdown, nullptr) << "no countdown window";
    SendMessageTimeoutW(GetDlgItem(countdown, IDC_COUNTDOWN_BUTTON2), BM_CLICK, 0, 0, SMTO_BLOCK, 5000, nullptr);
    Sleep(3000);
    EXPECT_TRUE(program.Running());
    EXPECT_NE(program.WaitForMainWindow(1000), nullptr) << "the program stays open";
    EXPECT_EQ(program.Close(), 0);
}

// Presses "立即关闭" and then waits: the host check expects this process to be ended by the
// shutdown before it writes "survived".
TEST(HostCheckedShutdown, ShutDownNowEndsTheSession)
{
    const std::wstring dir = TestDir();
    WriteFileBytes(dir + L"Trimdex.ini", kSettings);
    ProgramProcess program(dir, L"schedule");
    HWND countdown = WaitForCountdown(program, 60000);
    ASSERT_NE(countdown, nullptr) << "no countdown window";
    WriteFileBytes(dir + L"pressed", "");
    PostMessageW(GetDlgItem(countdown, IDCANCEL), BM_CLICK, 0, 0);
    Sleep(60000);
    WriteFileBytes(dir + L"survived", "");
    FAIL() << "the session did not end";
}
