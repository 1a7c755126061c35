// "Tidymate.exe preview <mode> <report-file>" as a real process: the report of a scan over a
// seeded drive, nothing removed, the settings file untouched; bad arguments end with a
// message box and exit code 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "e2e/program_process.h"
#include "platform/files.h"
#include "platform/text.h"
#include "scan/catalogue.h"
#include "support/test_support.h"

using e2e::ProgramProcess;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::RemoveTree;
using testing_support::TEnvironmentGuard;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::WriteFileBytes;

namespace {

// The removable test drive, a folder inside the prefix.
const std::wstring kTestDrive = L"E:\\";

// Settings of a custom scan with only these categories ticked, walking only the test drive.
std::string SettingsText(std::initializer_list<int> ticked)
{
    std::wstring text = L"[HardDrive]\r\nUseTimeBuffer=0\r\n";
    for (const scan::TJunkCategory& category : scan::Catalogue()) {
        if (category.Section != scan::TSettingsSection::HardDrive)
            continue;
        const bool on = std::find(ticked.begin(), ticked.end(), category.Index) != ticked.end();
        text += std::wstring(category.Setting.EnableKey) + L"=" + (on ? L"1" : L"0") + L"\r\n";
    }
    text += L"\r\n[DrivesSelected]\r\nC:\\=0\r\nD:\\=0\r\nE:\\=1\r\n";
    return platform::ToAnsi(text);
}

// Finds the message box of a process, returns its text and presses its button.
struct TBoxSearch {
    DWORD processId;
    HWND box;
};

BOOL CALLBACK FindMessageBox(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<TBoxSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner != search->processId || std::wstring(className) != L"#32770" || std::wstring(title) != L"Kelvo Tidymate")
        return TRUE;
    search->box = window;
    return FALSE;
}

std::optional<std::wstring> AnswerMessageBox(DWORD processId, DWORD timeoutMs)
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < end) {
        TBoxSearch search{processId, nullptr};
        EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
        if (search.box != nullptr) {
            wchar_t text[1024] = {};
            GetDlgItemTextW(search.box, 0xFFFF, text, 1024);
            PostMessageW(search.box, WM_COMMAND, IDOK, 0);
            return std::wstring(text);
        }
        Sleep(100);
    }
    return std::nullopt;
}

}  // namespace

TEST(Preview, WritesTheResultsTreeAndChangesNothingElse)
{
    const std::wstring dir = TestDir();
    const std::wstring seeded = kTestDrive + L"preview-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    const std::wstring temp = dir + L"temp\\";
    struct TSeedCleanup {
        std::wstring folder;
        ~TSeedCleanup() { RemoveTree(folder); }
    } cleanup{seeded};
    WriteFileBytes(seeded + L"a.tmp", std::string(1000, 'a'));
    WriteFileBytes(seeded + L"sub\\b.tmp", std::string(2000, 'b'));
    WriteFileBytes(seeded + L"keep.txt", "keep");
    WriteFileBytes(temp + L"t.dat", std::string(100, 't'));
    const std::string settings = SettingsText({0, 7});
    WriteFileBytes(dir + L"Trimdex.ini", settings);
    TEnvironmentGuard tempVariable(L"TEMP", temp);
    TEnvironmentGuard tmpVariable(L"TMP", temp);

    ProgramProcess program(dir, L"preview 2 report.txt");
    ASSERT_EQ(program.WaitForExit(60000), 0);

    const std::wstring expected = scan::GroupCaption(7, 1) + L"\r\n" +
                                  L"  " + temp + L"t.dat\r\n" +
                                  scan::GroupCaption(0, 2) + L"\r\n" +
                                  L"  " + seeded + L"a.tmp\r\n" +
                                  L"  " + seeded + L"sub\\b.tmp\r\n" +
                                  L"3 个问题, 3.03 KB\r\n";
    EXPECT_EQ(ReadFileBytes(dir + L"report.txt"), Utf8(expected));
    EXPECT_EQ(ReadFileBytes(dir + L"Trimdex.ini"), settings) << "the settings file is left as it was";
    for (const std::wstring& kept : {seeded + L"a.tmp", seeded + L"sub\\b.tmp", seeded + L"keep.txt", temp + L"t.dat"})
        EXPECT_TRUE(FileExists(kept)) << Utf8(kept);
    std::vector<std::wstring> programFolder;
    for (const platform::FileEntry& entry : platform::ListFolder(dir))
        programFolder.push_back(entry.name);
    std::sort(programFolder.begin(), programFolder.end());
    EXPECT_EQ(programFolder, (std::vector<std::wstring>{L"Tidymate.exe", L"Trimdex.ini", L"report.txt", L"temp"}));
}

TEST(Preview, BadArgumentsAreExplainedAndEndWithExitCode2)
{
    const std::wstring dir = TestDir();
    const struct {
        const wchar_t* arguments;
        const wchar_t* problem;
    } cases[] = {
        {L"preview 3 report.txt", L"扫描模式 \"3\" 无效."},
        {L"preview x report.txt", L"扫描模式 \"x\" 无效."},
        {L"preview 1", L"缺少报告文件."},
        {L"preview", L"缺少扫描模式."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.arguments));
        ProgramProcess program(dir, c.arguments);
        const std::optional<std::wstring> text = AnswerMessageBox(program.ProcessId(), 30000);
        ASSERT_TRUE(text.has_value()) << "no message box";
        EXPECT_TRUE(text->starts_with(c.problem)) << Utf8(*text);
        EXPECT_NE(text->find(L"Tidymate.exe preview"), std::wstring::npos) << "the message shows the usage";
        EXPECT_EQ(program.WaitForExit(30000), 2);
    }
    EXPECT_FALSE(FileExists(dir + L"report.txt"));
    EXPECT_FALSE(FileExists(dir + L"Trimdex.ini"));
}
