// TForm1, the program's main window: a wizard of pages without tabs under a skinned title
// band and the main menu. This file holds the frame; the pages' own work lives elsewhere.
#pragma once

#include "platform/controls/button.h"
#include "platform/controls/page_control.h"
#include "platform/controls/timer.h"
#include "platform/dialog.h"
#include "platform/list_box_hints.h"
#include "platform/menu_bar.h"
#include "platform/message_dialog.h"
#include "platform/skin.h"
#include "scan/results.h"
#include "ui/frame_page.h"
#include "ui/page_pictures.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class TScanPage;
class TResultsPage;
class TWindowScanHost;
class TRegistryPage;
class TSettingsPage;

// Work that other parts of the program plug into the window. Unset hooks do nothing.
struct TForm1Hooks {
    // Start-up steps of the show sequence that come before the first page: help file,
    // StartupDir, ReadSettings, releasing the splash window.
    std::function<void()> FormShow;
    // Body of the one-shot start timer (the automatic scan run, expired undo sets).
    std::function<void()> OnTimer;
    // Runs the scan of the mode in ScanMode.
    std::function<void()> RunScan;
    // Stores the settings; called while the window closes.
    std::function<void()> WriteSettings;
    // "自动扫描" menu handlers; the sender is the clicked item's id.
    std::function<void(int senderId)> ScanClick;
    std::function<void(int senderId)> CleanPC2Click;
    std::function<void()> SkipWindowsDefenderinVista1Click;
    std::function<void()> ClosewhenFinished1Click;
    std::function<void()> ShutDownwhenFinished1Click;
    // "帮助" and "Internet" menu handlers.
    std::function<void()> AboutKelvoTidymate1Click;
    std::function<void()> CheckforUpdates1Click;
};

class TForm1 : public platform::Dialog {
public:
    static constexpr int kClientWidth = 646;
    static constexpr int kClientHeight = 552;
    static constexpr UINT_PTR kStartTimerId = 1;

    TForm1();
    ~TForm1() override;

    // Creates the window (hidden) and its pages; throws when that fails.
    void FormCreate();
    // The show sequence: folders, the FormShow hook, the Vista item, the first page, the
    // undo name, then the start timer.
    void FormShow();

    // State of the window.
    bool AutoScanActive = false;
    std::uint8_t ScanMode = 0;
    bool Busy = false;
    bool StopRequested = false;
    bool SoundOn = false;
    std::uint8_t OSKind = 0;
    std::wstring WindowsDir;
    std::wstring SystemDir;
    std::wstring StartupDir;
    std::wstring TodayUndoName;
    std::wstring HelpFile;
    // The program's folder, with a trailing backslash: the page pictures and the help file.
    std::wstring ProgramFolder;

    TForm1Hooks hooks;
    // Plays a system sound; a seam for tests.
    std::function<void(UINT type)> PlaySystemSound = [](UINT type) { MessageBeep(type); };

    // Components.
    platform::PageControl PageControl1;
    platform::MenuBar suiMainMenu1;
    platform::SkinManager suiThemeManager1;
    platform::MessageDialog suiMessageDialog1;
    platform::Timer Timer1;
    TPagePictures PagePictures;
    // DoShowHint for the plain list boxes of the program's windows.
    platform::ListBoxHints ListBoxHints;
    // Skin managers of other windows that take over the main window's style on SkinClick.
    std::vector<platform::SkinManager*> SkinFollowers;

    platform::Button suiButton1;
    platform::Button CleanPCButton;
    platform::Button RemoveTracksButton;
    platform::Button RunSettingsButton;
    platform::Button ChangeSettingsButton;
    platform::Button FinishedExitButton;
    platform::Button FinishedSettingsButton;
    platform::Button FinishedToolsButton;
    platform::Button FinishedUndoButton;

    // The results of the last scan, and the scan and results pages' side of a scan.
    scan::TResultsList Results;
    std::unique_ptr<TWindowScanHost> ScanHost;
    // Page 13, the registry cleaning page; exists once the window is created.
    TRegistryPage& RegistryCleaningPage() const;
    // Page 10, the cleaner settings page; exists once the window is created.
    TSettingsPage& CleanerSettingsPage() const;

    // Shows the page with this index (0, 1, 2, 4..15); beeps when the sound is on.
    void TurnPage(int index);
    void ChangeBusy(bool busy);

    // Starts a scan; the sender decides the mode. Does nothing while busy.
    void ScanButtonsClick(int senderId);
    void SoundisOn1Click();
    // Sets SoundOn and the sound item's caption and tag, as the settings are read.
    void SetSound(bool on);
    void SkinClick(int senderId);
    // Applies a skin value (1..5; others fall back to 3), ticks its menu item and passes the
    // style on to the followers.
    void ApplySkin(int style);
    void ShowVistaItems(bool visible);

    void suiShowMessage(const std::wstring& text);
    int suiMessageBox(const std::wstring& text, const std::wstring& caption, int buttons, int icon);
    void GoToWebsite(const std::wstring& address);
    std::uint16_t GetStringExtent(const std::wstring& text) const;

    // Close sequence: stop requests, busy off, settings stored, then the window goes.
    void FormClose();

    // Navigation commands with their busy guard.
    void GotoStartClick();
    void GotoCleanerSettingsClick();
    void GotoCleaningAccessoriesClick();
    void RestoreRemovedFilesClick();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnTimer(UINT_PTR timerId) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool OnMenuCommand(int id);
    bool OnPageCommand(int id);
    void CreatePages();
    std::unique_ptr<FramePage> MakePage(int index);
    void FitClientArea();
    void MakeFonts();
    void PaintHeader(const DRAWITEMSTRUCT& item) const;
    void OpenHelp(UINT command);
    // Keyboard: the new page takes the focus; Esc stops the work that runs; Enter on a page
    // reaches the page's default button.
    void FocusPage(int index);
    void CancelRunningWork();
    bool PassToPage(int id, int code, HWND control);

    std::map<int, std::unique_ptr<FramePage>> pages_;
    TScanPage* scanPage_ = nullptr;
    TResultsPage* resultsPage_ = nullptr;
    TRegistryPage* registryPage_ = nullptr;
    TSettingsPage* settingsPage_ = nullptr;
    HFONT titleFont_ = nullptr;
    HFONT subtitleFont_ = nullptr;
    HFONT pageTitleFont_ = nullptr;
    HFONT linkFont_ = nullptr;
    bool passingToPage_ = false;
};

}  // namespace ui
