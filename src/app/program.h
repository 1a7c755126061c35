// The program: its entry steps, and the work it plugs into the main window (start-up steps,
// settings, the automatic scan run and the "自动扫描" menu).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/schedule.h"
#include "app/settings.h"
#include "platform/shell_link.h"
#include "removal/removal_driver.h"
#include "ui/about_window.h"
#include "ui/countdown_window.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"
#include "ui/update_window.h"

namespace app {

class TProgram {
public:
    // `exePath` is the program file; the settings file lies beside it.
    explicit TProgram(std::wstring exePath);
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // The whole run for a start of this kind; returns the process exit code.
    int Run(StartKind kind);

    ui::TForm1 Form1;
    ui::TProgress Progress;
    ui::TForm6 Form6;
    ui::TForm7 Form7;
    ui::TForm4 Form4;
    // The about window as splash, from the start until the main window has been shown.
    std::unique_ptr<ui::TForm4> Splash;
    TSettings Settings;
    platform::TPBShellLink PBShellLink1;

private:
    // Entry step: whether an automatic scan runs now (for "bootup" after the mutex wait).
    bool DecideAutoScan(StartKind kind);
    void WireHooks();

    // Window start-up and settings.
    void FormCreate();
    void FormShow();
    void ReadSettings();
    // Shows the settings just read outside the pages (skin, sound, menus) and checks the
    // Startup shortcut.
    void ShowReadSettings();
    void WriteSettings();
    void ShowAutoRunSettings();
    void TakeAutoRunSettings();
    void LoadDriveSelection();
    void EnsureStartupShortcut();

    // Runs a scan in Form1.ScanMode.
    void Button1Click();
    // "清理": removes the findings, or stops the removal that runs.
    void Button2Click();
    // Runs the history lists of the registry cleaning page ("清洁勾选的列表 >>").
    void suiButton31Click();
    void DeleteOldUndoFiles();

    // The one-shot start timer: the automatic scan run, then expired undo sets.
    void OnTimer();
    void RunAutomaticScan();
    void FinishAutomaticRun();

    // "自动扫描" menu.
    void ScanClick(int senderId);
    void CleanPC2Click(int senderId);
    void SkipWindowsDefenderinVista1Click();
    void ClosewhenFinished1Click();
    void ShutDownwhenFinished1Click();

    void ShowSplash();
    void AboutKelvoTidymate1Click();
    void CheckforUpdates1Click();

    std::wstring ExpectedStartupTarget() const;

    std::unique_ptr<removal::TRemovalDriver> removalDriver_;
    std::wstring exePath_;
    std::wstring iniPath_;
};

// The frequency code of a menu item (a sender that is no frequency item gives 1, weekly).
int FrequencyCodeOf(int senderId);
// The menu item of a frequency code; 0 for a code that no item shows.
int FrequencyItemOf(int code);
// The scan type of a scan-type item (another sender gives 1), and back (0 for none).
int ScanTypeOf(int senderId);
int ScanTypeItemOf(int type);

}  // namespace app
