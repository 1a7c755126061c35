#include "app/program.h"

#include "app/autorun.h"
#include "app/autorun_menu.h"
#include "app/ini_file.h"
#include "app/single_instance.h"
#include "app/startup_shortcut.h"
#include "platform/app_title.h"
#include "platform/error_report.h"
#include "platform/path_util.h"
#include "platform/shutdown.h"
#include "platform/system_info.h"
#include "removal/shred.h"
#include "registry/history_lists.h"
#include "removal/undo_expiry.h"
#include "scan/scan_driver.h"
#include "ui/window_scan_host.h"
#include "main_window_ids.h"
#include "ui/main_menu.h"
#include "ui/registry_page.h"
#include "ui/settings_page.h"
#include "ui/run_main_window.h"

namespace app {

namespace {

constexpr int kFrequencyItems[] = {ui::EnableDailyScan1, ui::EnableWeeklyScan1, ui::PerformScanTwiceaMonth1,
                                   ui::EnableMonthlyScan1, ui::DoNotPerformScan1};
constexpr int kScanTypeItems[] = {ui::CleanPC2, ui::RemoveTracks2, ui::RunSettings2};

}  // namespace

int FrequencyCodeOf(int senderId)
{
    for (int code = 0; code < 5; ++code)
        if (kFrequencyItems[code] == senderId)
            return code;
    return 1;
}

int FrequencyItemOf(int code) { return code >= 0 && code < 5 ? kFrequencyItems[code] : 0; }

int ScanTypeOf(int senderId)
{
    for (int type = 0; type < 3; ++type)
        if (kScanTypeItems[type] == senderId)
            return type;
    return 1;
}

int ScanTypeItemOf(int type) { return type >= 0 && type < 3 ? kScanTypeItems[type] : 0; }

TProgram::TProgram(std::wstring exePath)
    : exePath_(std::move(exePath)), iniPath_(platform::FolderPart(exePath_) + kSettingsFileName)
{
    WireHooks();
}

void TProgram::WireHooks()
{
    ui::TForm1Hooks& hooks = Form1.hooks;
    hooks.FormShow = [this] { FormShow(); };
    hooks.OnTimer = [this] { OnTimer(); };
    hooks.WriteSettings = [this] { WriteSettings(); };
    hooks.ScanClick = [this](int id) { ScanClick(id); };
    hooks.CleanPC2Click = [this](int id) { CleanPC2Click(id); };
    hooks.SkipWindowsDefenderinVista1Click = [this] { SkipWindowsDefenderinVista1Click(); };
    hooks.ClosewhenFinished1Click = [this] { ClosewhenFinished1Click(); };
    hooks.ShutDownwhenFinished1Click = [this] { ShutDownwhenFinished1Click(); };
    hooks.RunScan = [this] { Button1Click(); };
    hooks.AboutKelvoTidymate1Click = [this] { AboutKelvoTidymate1Click(); };
    hooks.CheckforUpdates1Click = [this] { CheckforUpdates1Click(); };
    // The removal and the tools plug in here as they are built.
}

int TProgram::Run(StartKind kind)
{
    // A "bootup" start shows the splash only once it knows that it stays: it may wait long
    // for another instance, and usually ends at once.
    if (kind != StartKind::Bootup)
        ShowSplash();
    HANDLE mutex = nullptr;
    if (kind == StartKind::Bootup)
        mutex = WaitForBootupMutex();

    bool autoScan = false;
    try {
        autoScan = DecideAutoScan(kind);
    } catch (const std::exception& error) {
        // A settings file that cannot be written: say so, and start without an automatic scan.
        platform::ShowErrorMessage(error);
    }
    if (kind == StartKind::Bootup && !autoScan) {
        CloseHandle(mutex);
        return 0;
    }
    ShowSplash();

    const int exitCode = ui::RunMainWindow(Form1, [&] {
        FormCreate();
        // The registry list viewer is created here once built.
        Form7.ProgramFolder = platform::FolderPart(exePath_);
        Form7.AboutVersionText = [this] { return Form4.Label5Caption; };
        Form1.AutoScanActive = autoScan;
        Form1.RegistryCleaningPage().Bind(Settings);
        Form1.RegistryCleaningPage().hooks.CleanTickedLists = [this] { suiButton31Click(); };
        Form1.CleanerSettingsPage().Bind(Settings, iniPath_);
        Form1.CleanerSettingsPage().hooks.SettingsReloaded = [this] { ShowReadSettings(); };
        Progress.FormCreate(Form1.Handle());
        Form1.SkinFollowers.push_back(&Progress.suiThemeManager1);
        // The file-properties windows are created here once built.
    });
    if (mutex != nullptr)
        CloseHandle(mutex);
    return exitCode;
}

bool TProgram::DecideAutoScan(StartKind kind)
{
    switch (kind) {
    case StartKind::Schedule:
        return true;
    case StartKind::Bootup: {
        TIniFile ini(iniPath_);
        return DecideBootupAutoScan(ini, Today());
    }
    case StartKind::Interactive:
    case StartKind::Preview:
        break;
    }
    return false;
}

void TProgram::FormCreate()
{
    Form1.OSKind = platform::OSKindFromOSInfo(platform::GetOSInfo());
    Form1.StopRequested = false;
    Form1.ProgramFolder = platform::FolderPart(exePath_);
    Form1.ScanHost->SetSettings(&Settings);
    Form1.ScanHost->hooks.Button2Click = [this] { Button2Click(); };
    LoadDriveSelection();
}

void TProgram::Button2Click()
{
    if (!removalDriver_) {
        removal::TRemovalPlace place;
        place.ProgramFolder = platform::FolderPart(exePath_);
        place.TodayUndoName = Form1.TodayUndoName;
        place.OSKind = Form1.OSKind;
        removalDriver_ = std::make_unique<removal::TRemovalDriver>(*Form1.ScanHost, Form1.Results, Settings, place);
    }
    removalDriver_->Button2Click();
}

void TProgram::suiButton31Click()
{
    scan::IScanDriverUi& ui = *Form1.ScanHost;
    if (ui.Busy())
        return;
    ui.ChangeBusy(true);
    Form1.ScanMode = scan::smRegistryHistory;
    ui.SetScanCommandsEnabled(false);
    ui.SetResultsPage(true);
    ui.SetWaitCursor(true);
    ui.ShowStopButton(scan::StopButtonCaption(scan::smRegistryHistory));
    ui.SetStopRequested(false);
    ui.ResetCounters();
    ui.BlankList();
    ui.SetProgressText(L"正在准备扫描 - 请稍等 - 这可能需要几分种时间");
    ui.TurnPage(scan::kScanPage);
    auto finish = [&] {
        ui.ShowStopButton(L"");
        ui.SetStopRequested(false);
        ui.SetProgressText(L"扫描完成");
        if (ui.ProblemCount() < 1)
            ui.TurnPage(scan::kFinishedPage);
        else
            ui.SetResultsPage(false);
        ui.SetScanCommandsEnabled(true);
        ui.SetWaitCursor(false);
        ui.ChangeBusy(false);
    };
    try {
        scan::TScanState state;
        state.ScanMode = scan::smRegistryHistory;
        state.OSKind = Form1.OSKind;
        state.Settings = &Settings;
        state.ShellLink = &PBShellLink1;
        registry::ScanTickedHistoryLists(state, *Form1.ScanHost, {});
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void TProgram::DeleteOldUndoFiles()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    removal::ShredOptions options;
    options.UseNoRemainsDeletion = Settings.UseNoRemainsDeletion;
    removal::DeleteOldUndoFiles(platform::FolderPart(exePath_), now, options, Progress);
}

void TProgram::Button1Click()
{
    scan::TScanState state;
    state.ScanMode = Form1.ScanMode;
    state.OSKind = Form1.OSKind;
    state.Settings = &Settings;
    state.ShellLink = &PBShellLink1;
    scan::TScanPlaces places;
    places.WindowsDir = Form1.WindowsDir;
    scan::TScanDriver driver(state, *Form1.ScanHost, *Form1.ScanHost, places);
    driver.Button1Click(Form1.AutoScanActive);
}

void TProgram::LoadDriveSelection()
{
    Settings.Drives = ReadDriveSelection(TMemIniFile(iniPath_));
}

void TProgram::FormShow()
{
    Form1.HelpFile = platform::FolderPart(exePath_) + L"trimdex.hlp";
    Form1.StartupDir = StartupFolder(Form1.WindowsDir);
    try {
        ReadSettings();
    } catch (...) {
        Splash.reset();
        throw;
    }
    Splash.reset();
}

void TProgram::ShowSplash()
{
    if (Splash)
        return;
    // Start-up goes on without a splash that cannot be shown.
    try {
        Splash = std::make_unique<ui::TForm4>();
        Splash->ShowSplash();
    } catch (const std::exception&) {
        Splash.reset();
    }
}

void TProgram::AboutKelvoTidymate1Click() { Form4.ShowModal(Form1.Handle()); }

void TProgram::CheckforUpdates1Click()
{
    Form7.suiThemeManager1.SetUIStyle(Form1.suiThemeManager1.UIStyle());
    Form7.ShowModal(Form1.Handle());
    if (Form7.EndProgramRequested)
        PostMessageW(Form1.Handle(), WM_CLOSE, 0, 0);
}

void TProgram::ReadSettings()
{
    app::ReadSettings(Settings, iniPath_);
    ShowReadSettings();
}

void TProgram::ShowReadSettings()
{
    Form1.ApplySkin(Settings.Skin);
    Form1.SetSound(Settings.SoundOn);
    ShowAutoRunSettings();
    if (!Form1.suiMainMenu1.Checked(ui::DoNotPerformScan1))
        EnsureStartupShortcut();
}

void TProgram::ShowAutoRunSettings()
{
    platform::MenuBar& menu = Form1.suiMainMenu1;
    const TAutoRunOptions& autoRun = Settings.AutoRun;
    menu.SetChecked(ui::ClosewhenFinished1, autoRun.Close);
    menu.SetChecked(ui::ShutDownwhenFinished1, autoRun.ShutDown);
    menu.SetEnabled(ui::ShutDownwhenFinished1, autoRun.Close);
    for (int code = 0; code < 5; ++code)
        menu.SetChecked(kFrequencyItems[code], autoRun.Freq == code);
    for (int type = 0; type < 3; ++type)
        menu.SetChecked(kScanTypeItems[type], autoRun.Type == type);
    menu.SetChecked(ui::SkipWindowsDefenderinVista1, autoRun.SkipWindowsDefenderinVista);
}

void TProgram::TakeAutoRunSettings()
{
    const platform::MenuBar& menu = Form1.suiMainMenu1;
    TAutoRunOptions& autoRun = Settings.AutoRun;
    autoRun.Close = menu.Checked(ui::ClosewhenFinished1);
    autoRun.ShutDown = menu.Checked(ui::ShutDownwhenFinished1);
    autoRun.SkipWindowsDefenderinVista = menu.Checked(ui::SkipWindowsDefenderinVista1);
    // With no item ticked the stored value stays as it is.
    for (int code = 0; code < 5; ++code)
        if (menu.Checked(kFrequencyItems[code]))
            autoRun.Freq = code;
    for (int type = 0; type < 3; ++type)
        if (menu.Checked(kScanTypeItems[type]))
            autoRun.Type = type;
}

void TProgram::WriteSettings()
{
    Settings.Skin = Form1.suiThemeManager1.UIStyle();
    Settings.SoundOn = Form1.SoundOn;
    TakeAutoRunSettings();
    app::WriteSettings(Settings, iniPath_);
}

std::wstring TProgram::ExpectedStartupTarget() const
{
    return app::ExpectedStartupTarget(exePath_, Form1.OSKind,
                                      Form1.suiMainMenu1.Checked(ui::SkipWindowsDefenderinVista1));
}

void TProgram::EnsureStartupShortcut()
{
    app::EnsureStartupShortcut(PBShellLink1, Form1.StartupDir, ExpectedStartupTarget());
}

void TProgram::OnTimer()
{
    if (Form1.AutoScanActive)
        RunAutomaticScan();
    DeleteOldUndoFiles();
}

void TProgram::RunAutomaticScan()
{
    SetForegroundWindow(Form1.Handle());
    try {
        const platform::MenuBar& menu = Form1.suiMainMenu1;
        // Each scan runs to its end, removal included, before the next test.
        if (menu.Checked(ui::CleanPC2))
            Form1.ScanButtonsClick(IDC_CLEAN_PC_BUTTON);
        if (menu.Checked(ui::RemoveTracks2))
            Form1.ScanButtonsClick(IDC_REMOVE_TRACKS_BUTTON);
        if (menu.Checked(ui::RunSettings2))
            Form1.ScanButtonsClick(IDC_RUN_SETTINGS_BUTTON);
    } catch (...) {
        FinishAutomaticRun();
        throw;
    }
    FinishAutomaticRun();
}

void TProgram::FinishAutomaticRun()
{
    try {
        ClearPendingAutoScan(iniPath_);
    } catch (const std::exception& error) {
        platform::ShowErrorMessage(error);
    }
    Form1.AutoScanActive = false;
    const platform::MenuBar& menu = Form1.suiMainMenu1;
    if (!menu.Checked(ui::ClosewhenFinished1))
        return;
    if (menu.Checked(ui::ShutDownwhenFinished1)) {
        // Cancel leaves the program open.
        if (Form6.ShowModal(Form1.Handle()) == IDOK)
            platform::MyExitWindows(EWX_FORCE | EWX_POWEROFF);
        return;
    }
    PostMessageW(Form1.Handle(), WM_CLOSE, 0, 0);
}

void TProgram::ScanClick(int senderId)
{
    const int code = FrequencyCodeOf(senderId);
    Form1.suiMainMenu1.SetChecked(FrequencyItemOf(code), true);
    Settings.AutoRun.Freq = code;
    StartupShortcutTarget shortcut;
    shortcut.Link = &PBShellLink1;
    shortcut.StartupDir = Form1.StartupDir;
    shortcut.ExpectedTarget = ExpectedStartupTarget();
    shortcut.DeleteFile = [this](const std::wstring& path) {
        removal::RemovalCounters counters;
        removal::ShredOptions options;
        options.UseNoRemainsDeletion = Settings.UseNoRemainsDeletion;
        removal::ShredFile(path, false, options, counters);
    };
    StoreFrequencyChoice(iniPath_, code, shortcut, Today());
}

void TProgram::CleanPC2Click(int senderId)
{
    const int type = ScanTypeOf(senderId);
    Form1.suiMainMenu1.SetChecked(ScanTypeItemOf(type), true);
    Settings.AutoRun.Type = type;
    StoreScanType(iniPath_, type);
}

void TProgram::SkipWindowsDefenderinVista1Click()
{
    platform::MenuBar& menu = Form1.suiMainMenu1;
    menu.SetChecked(ui::SkipWindowsDefenderinVista1, !menu.Checked(ui::SkipWindowsDefenderinVista1));
    // The window itself is no frequency item: this chooses weekly.
    ScanClick(0);
}

void TProgram::ClosewhenFinished1Click()
{
    platform::MenuBar& menu = Form1.suiMainMenu1;
    const bool close = !menu.Checked(ui::ClosewhenFinished1);
    menu.SetChecked(ui::ClosewhenFinished1, close);
    menu.SetEnabled(ui::ShutDownwhenFinished1, close);
    WriteSettings();
}

void TProgram::ShutDownwhenFinished1Click()
{
    platform::MenuBar& menu = Form1.suiMainMenu1;
    if (menu.Checked(ui::ShutDownwhenFinished1)) {
        menu.SetChecked(ui::ShutDownwhenFinished1, false);
        WriteSettings();
        return;
    }
    const int answer = MessageBoxW(Form1.Handle(),
                                   L"自动扫描完成后将自动关闭 Windows.  届时, 所有其它正在运行的程序也将被自动关闭.  "
                                   L"您确定要在自动扫描完成后关闭 Windows 吗?",
                                   L"警告", MB_YESNO | MB_ICONHAND);
    if (answer != IDYES)
        return;
    menu.SetChecked(ui::ShutDownwhenFinished1, true);
    WriteSettings();
}

}  // namespace app
