// The main window's command handlers: menu items, page buttons and links.
#include "main_window_ids.h"
#include "scan_pages_ids.h"
#include "settings_page_ids.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/settings_page.h"
#include "ui/shell_execute_errors.h"
#include "ui/window_scan_host.h"

#include <shellapi.h>

namespace ui {

namespace {

constexpr wchar_t kFaqAddress[] = L"http://www.kelvo.com/tidymate/faq.htm";
constexpr char kSystemPropertiesCommand[] = "rundll32.exe shell32.dll,Control_RunDLL sysdm.cpl";

}  // namespace

bool TForm1::OnCommand(int id, int code, HWND control)
{
    // Menu items and accelerators send 0 or 1; buttons send BN_CLICKED (0).
    if (code != 0 && code != 1)
        return false;
    if (id == IDCANCEL) {
        // Esc never closes the main window; it stops the scan or removal that runs.
        CancelRunningWork();
        return true;
    }
    return OnMenuCommand(id) || OnPageCommand(id) || PassToPage(id, code, control);
}

void TForm1::CancelRunningWork()
{
    if (!Busy || !PageControl1.Contains(PageControl1.ActivePageIndex()))
        return;
    HWND page = PageControl1.PageAt(PageControl1.ActivePageIndex()).Handle();
    // The scan page's stop button shows only while a scan runs; "清理" reads "停止" while the
    // removal runs (and is never pressed by Esc otherwise).
    for (int id : {IDC_SUI_BUTTON9, IDC_BUTTON2}) {
        HWND button = GetDlgItem(page, id);
        if (button && IsWindowVisible(button) && IsWindowEnabled(button)) {
            SendMessageW(button, BM_CLICK, 0, 0);
            return;
        }
    }
}

// Enter sends the default button of the shown page to the main window. Buttons that the
// page handles itself go back to it, once: a page passes up what it does not handle.
bool TForm1::PassToPage(int id, int code, HWND control)
{
    if (passingToPage_)
        return false;
    // Enter without a button in focus names the default button by its id alone.
    if (!control && PageControl1.Contains(PageControl1.ActivePageIndex()))
        control = GetDlgItem(PageControl1.PageAt(PageControl1.ActivePageIndex()).Handle(), id);
    if (!control)
        return false;
    HWND page = GetParent(control);
    if (page == Handle() || GetParent(page) != Handle())
        return false;
    passingToPage_ = true;
    struct TReset {
        bool& flag;
        ~TReset() { flag = false; }
    } reset{passingToPage_};
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    return true;
}

bool TForm1::OnMenuCommand(int id)
{
    switch (id) {
    case CleanPC1:
    case RemoveTracks1:
    case RunCleanerSettings1:
        ScanButtonsClick(id);
        return true;
    case PrintList1: ScanHost->suiButton6Click(); return true;
    case DeleteJunkFiles1: ScanHost->Button2Click(); return true;
    case GotoStart1: GotoStartClick(); return true;
    case GotoCleanerSettings1:
    case ChangeSettings1: GotoCleanerSettingsClick(); return true;
    case GotoCleaningAccessories1: GotoCleaningAccessoriesClick(); return true;
    case RestoreRemovedFiles1: RestoreRemovedFilesClick(); return true;
    case Exit1: PostMessageW(Handle(), WM_CLOSE, 0, 0); return true;
    case EnableDailyScan1:
    case EnableWeeklyScan1:
    case PerformScanTwiceaMonth1:
    case EnableMonthlyScan1:
    case DoNotPerformScan1:
        if (hooks.ScanClick)
            hooks.ScanClick(id);
        return true;
    case CleanPC2:
    case RemoveTracks2:
    case RunSettings2:
        if (hooks.CleanPC2Click)
            hooks.CleanPC2Click(id);
        return true;
    case ClosewhenFinished1:
        if (hooks.ClosewhenFinished1Click)
            hooks.ClosewhenFinished1Click();
        return true;
    case ShutDownwhenFinished1:
        if (hooks.ShutDownwhenFinished1Click)
            hooks.ShutDownwhenFinished1Click();
        return true;
    case SkipWindowsDefenderinVista1:
        if (hooks.SkipWindowsDefenderinVista1Click)
            hooks.SkipWindowsDefenderinVista1Click();
        return true;
    case SoundisOn1: SoundisOn1Click(); return true;
    case MacOS1:
    case WinXP1:
    case DeepBlue1:
    case Protein1:
    case BlueGlass1: SkinClick(id); return true;
    case Instructions1: OpenHelp(HELP_CONTENTS); return true;
    case Search1: OpenHelp(HELP_FINDER); return true;
    case ShowSystemProperties1: WinExec(kSystemPropertiesCommand, SW_SHOWNORMAL); return true;
    case AboutKelvoTidymate1:
        if (hooks.AboutKelvoTidymate1Click)
            hooks.AboutKelvoTidymate1Click();
        return true;
    case CheckforUpdates1:
        if (hooks.CheckforUpdates1Click)
            hooks.CheckforUpdates1Click();
        return true;
    }
    return false;
}

bool TForm1::OnPageCommand(int id)
{
    switch (id) {
    case IDC_SUI_BUTTON1: TurnPage(5); return true;
    case IDC_CLEAN_PC_BUTTON:
    case IDC_REMOVE_TRACKS_BUTTON:
    case IDC_RUN_SETTINGS_BUTTON:
        ScanButtonsClick(id);
        return true;
    case IDC_CHANGE_SETTINGS_BUTTON:
    case IDC_FINISHED_SETTINGS_BUTTON: GotoCleanerSettingsClick(); return true;
    case IDC_FINISHED_TOOLS_BUTTON: GotoCleaningAccessoriesClick(); return true;
    case IDC_FINISHED_UNDO_BUTTON: RestoreRemovedFilesClick(); return true;
    case IDC_FINISHED_EXIT_BUTTON: PostMessageW(Handle(), WM_CLOSE, 0, 0); return true;
    case IDC_TOOLS_REGISTRY:
    case IDC_REGISTRY_SETTINGS_LINK: TurnPage(13); return true;
    case IDC_BACK_TO_TOOLS: TurnPage(6); return true;
    case IDC_FAQ_LINK:
        // The FAQ link reports no failure.
        ShellExecuteW(Handle(), nullptr, kFaqAddress, nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    return false;
}

void TForm1::ScanButtonsClick(int senderId)
{
    if (Busy)
        return;
    switch (senderId) {
    case IDC_CLEAN_PC_BUTTON:
    case CleanPC1: ScanMode = 0; break;
    case IDC_REMOVE_TRACKS_BUTTON:
    case RemoveTracks1: ScanMode = 1; break;
    case IDC_RUN_SETTINGS_BUTTON:
    case RunCleanerSettings1: ScanMode = 2; break;
    }
    if (hooks.RunScan)
        hooks.RunScan();
}

void TForm1::GotoStartClick()
{
    if (!Busy)
        TurnPage(0);
}

void TForm1::GotoCleanerSettingsClick()
{
    if (Busy)
        return;
    settingsPage_->SelectTab(TSettingsPage::kStartTab);
    TurnPage(10);
}

void TForm1::GotoCleaningAccessoriesClick()
{
    if (!Busy)
        TurnPage(6);
}

void TForm1::RestoreRemovedFilesClick()
{
    if (!Busy)
        TurnPage(7);
}

void TForm1::OpenHelp(UINT command)
{
    WinHelpW(Handle(), HelpFile.c_str(), command, 0);
}

void TForm1::GoToWebsite(const std::wstring& address)
{
    const auto code = reinterpret_cast<INT_PTR>(
        ShellExecuteW(Handle(), nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (code < 33)
        suiMessageBox(ShellExecuteErrorText(static_cast<int>(code)), L"ShellExecute Error", MB_OK, 0);
}

}  // namespace ui
