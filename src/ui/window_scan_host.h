// The main window's side of a scan: receives the findings and progress of the searches
// (IScanHost) and performs the window steps of the scan driver (IScanDriverUi) on the scan
// and results pages. It also answers the buttons of those pages.
//
// While a scan runs, pending window messages are processed at most every 15 ms and the
// pages are brought up to date at most every 50 ms; every step that ends a stretch of work
// (the end of a scan, a page turn, a message box) brings them up to date at once.
#pragma once

#include "app/settings.h"
#include "platform/throttle.h"
#include "scan/results.h"
#include "scan/scan_context.h"
#include "removal/removal_ui.h"
#include "scan/scan_driver_ui.h"
#include "ui/results_view.h"

#include <functional>
#include <string>

namespace ui {

class TForm1;

// Work of other parts of the program behind the results page. Unset hooks do nothing.
struct TScanHostHooks {
    // "清理" and the menu item "移除无用文件(&E)": removes the findings of the results tree.
    std::function<void()> Button2Click;
    // "打印列表" and the menu item "打印无用文件列表(&P)"; while unset both stay disabled.
    std::function<void()> PrintList;
};

class TWindowScanHost : public scan::IScanHost, public scan::IScanDriverUi, public removal::IRemovalUi {
public:
    static constexpr int kPumpIntervalMs = 15;
    static constexpr int kRepaintIntervalMs = 50;

    TWindowScanHost(TForm1& form, TScanPage& scanPage, TResultsPage& resultsPage, scan::TResultsList& results);
    ~TWindowScanHost() override;
    TWindowScanHost(const TWindowScanHost&) = delete;
    TWindowScanHost& operator=(const TWindowScanHost&) = delete;

    TScanHostHooks hooks;

    // The settings that decide which categories take part and how findings are weighed;
    // nullptr: the defaults.
    void SetSettings(const app::TSettings* settings) { settings_ = settings; }
    // skip.ini; by default beside the program.
    void SetSkipListPath(std::wstring path) { skipListPath_ = std::move(path); }
    const std::wstring& SkipListPath() const { return skipListPath_; }

    // Turns to the results page.
    void ShowResultsPage();
    // Brings the pages up to date now.
    void Flush();

    // Buttons of the pages.
    void suiButton9Click();
    void suiButton38Click();
    void suiButton11Click();
    void Button2Click();
    void suiButton6Click();

    // IScanHost
    void ChangeLabel(int categoryIndex) override;
    void ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath) override;
    void ListBoxAddEntry(const std::wstring& path, const std::wstring& alternatePath,
                         const platform::FileEntry& entry) override;
    void ProcessMessages() override;
    bool StopRequested() const override;
    void ShowCurrentFolder(const std::wstring& folder) override;
    void ShowProgressText(const std::wstring& text) override;
    void ShowMessage(const std::wstring& text) override;

    // IScanDriverUi
    bool Busy() const override;
    void ChangeBusy(bool busy) override;
    void SetScanCommandsEnabled(bool enabled) override;
    void SetStopRequested(bool stop) override;
    void ResetCounters() override;
    int ProblemCount() const override;
    void SetResultsPage(bool scanning) override;
    void BlankList() override;
    void TurnPage(int index) override;
    void SetWaitCursor(bool wait) override;
    void ShowStopButton(const std::wstring& caption) override;
    void SetProgressText(const std::wstring& text) override;
    void RestoreWindow() override;
    void RemoveFindings() override;

    // IRemovalUi (the steps above that both share serve it too)
    bool AutoScanActive() const override;
    void SetAutoScanActive(bool active) override;
    bool CloseWhenFinished() const override;
    int ScanMode() const override;
    void ShowRemovalProgress(int maximum) override;
    void SetRemovalProgress(int position, const std::wstring& text) override;
    void SetRemovalProgressText(const std::wstring& text) override;
    void HideRemovalProgress() override;
    void SetTitle(const std::wstring& title) override;
    void SetCleanButtonCaption(const std::wstring& caption) override;
    void SetScanProblemCounter(const std::wstring& text) override;
    void suiShowMessage(const std::wstring& text) override;
    void Pump() override;

private:
    // After the results took a finding (or not): lets the window breathe and sounds.
    void Added(bool listed);
    static LRESULT CALLBACK FormSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                             DWORD_PTR self);
    void RepaintIfDue();
    void PumpMessages();
    void SetPrintEnabled(bool enabled);
    // Skip commands: "总是跳过该项目" when `always`, else "不清理该项目".
    void SkipSelected(bool always);
    const app::TSettings& Settings() const;

    TForm1& form_;
    TScanPage& scanPage_;
    TResultsPage& resultsPage_;
    scan::TResultsList& results_;
    TResultsView view_;
    const app::TSettings* settings_ = nullptr;
    std::wstring skipListPath_;
    platform::Throttle pump_{std::chrono::milliseconds(kPumpIntervalMs)};
    platform::Throttle repaint_{std::chrono::milliseconds(kRepaintIntervalMs)};
    std::wstring pendingProgress_;
    bool progressPending_ = false;
    bool waitCursor_ = false;
};

}  // namespace ui
