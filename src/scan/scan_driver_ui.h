// The window steps of a scan: what the scan driver asks of the main window (or of a
// window-less host, such as the preview command).
#pragma once

#include <string>

namespace scan {

// Page indices the scan turns to.
inline constexpr int kScanPage = 1;
inline constexpr int kResultsPage = 2;
inline constexpr int kFinishedPage = 4;

class IScanDriverUi {
public:
    virtual ~IScanDriverUi() = default;

    virtual bool Busy() const = 0;
    // Sets Busy and locks or unlocks the menus.
    virtual void ChangeBusy(bool busy) = 0;
    // Enables or disables the three scan commands of the "程序" menu.
    virtual void SetScanCommandsEnabled(bool enabled) = 0;
    virtual void SetStopRequested(bool stop) = 0;
    // Start of a scan: ProblemCount and TotalSize 0, no previous category.
    virtual void ResetCounters() = 0;
    // The findings added in this scan.
    virtual int ProblemCount() const = 0;
    // Puts the results page into its scanning state (true) or shows the results (false).
    virtual void SetResultsPage(bool scanning) = 0;
    // Gives every category row its status for the current mode and empties the results tree.
    virtual void BlankList() = 0;
    virtual void TurnPage(int index) = 0;
    virtual void SetWaitCursor(bool wait) = 0;
    // Shows the stop button with this caption, or hides it (empty caption).
    virtual void ShowStopButton(const std::wstring& caption) = 0;
    // The scan page's progress line (Label17), repainted at once.
    virtual void SetProgressText(const std::wstring& text) = 0;
    // Restores the window when it is minimised.
    virtual void RestoreWindow() = 0;
    // Removes the findings at once (the removal of an automatic run).
    virtual void RemoveFindings() = 0;
};

}  // namespace scan
