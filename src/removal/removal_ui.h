// The window steps of a removal: what the removal driver asks of the main window. Tests
// implement it without windows.
#pragma once

#include <string>

namespace removal {

inline constexpr wchar_t kCleanCaption[] = L"清洁";
inline constexpr wchar_t kStopCaption[] = L"停止";
// The page "已完成清洁您的计算机".
inline constexpr int kFinishedPage = 4;

class IRemovalUi {
public:
    virtual ~IRemovalUi() = default;

    virtual bool Busy() const = 0;
    // Sets Busy and locks or unlocks the menus.
    virtual void ChangeBusy(bool busy) = 0;
    virtual bool StopRequested() const = 0;
    virtual void SetStopRequested(bool stop) = 0;
    virtual bool AutoScanActive() const = 0;
    virtual void SetAutoScanActive(bool active) = 0;
    // Whether "完成后关闭(&L)" is ticked.
    virtual bool CloseWhenFinished() const = 0;
    // The window's ScanMode (0 Clean PC, 1 Remove tracks, 2 Run custom settings, 3 registry).
    virtual int ScanMode() const = 0;

    // Hides the results page's problem count, its caption and the size label; empties and
    // shows the progress text (Label88); shows the progress bar at 0 of `maximum`.
    virtual void ShowRemovalProgress(int maximum) = 0;
    // Moves the bar and sets the progress text; both repainted at once.
    virtual void SetRemovalProgress(int position, const std::wstring& text) = 0;
    // Replaces the progress text only (the notice before a large file).
    virtual void SetRemovalProgressText(const std::wstring& text) = 0;
    // Hides the progress text and the bar.
    virtual void HideRemovalProgress() = 0;
    // The application title (taskbar and frame).
    virtual void SetTitle(const std::wstring& title) = 0;
    // Caption of the clean button Button2: kCleanCaption or kStopCaption.
    virtual void SetCleanButtonCaption(const std::wstring& caption) = 0;
    virtual void SetWaitCursor(bool wait) = 0;
    // The scan page's problem counter (Label14).
    virtual void SetScanProblemCounter(const std::wstring& text) = 0;
    // Puts the results page into its empty state (true) or shows the results (false).
    virtual void SetResultsPage(bool scanning) = 0;
    virtual void TurnPage(int index) = 0;
    // The skinned message with one "确定" button and the program's title.
    virtual void suiShowMessage(const std::wstring& text) = 0;
    // Lets pending window messages through (the stop click among them); throttled by the callee.
    virtual void Pump() = 0;
};

}  // namespace removal
