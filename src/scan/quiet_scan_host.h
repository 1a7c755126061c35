// A scan host without any window: findings go straight into a results model, the window
// steps do nothing, and nothing is ever removed. Used by the preview command.
#pragma once

#include <string>
#include <vector>

#include "scan/results.h"
#include "scan/scan_context.h"
#include "scan/scan_driver_ui.h"

namespace scan {

class TQuietScanHost : public IScanHost, public IScanDriverUi {
public:
    // `state` gives the mode and settings that BlankList needs; both objects must outlive
    // the host.
    TQuietScanHost(const TScanState& state, TResultsList& results) : state_(state), results_(results) {}

    // The messages a scan wanted to show, in order.
    const std::vector<std::wstring>& Messages() const { return messages_; }

    // IScanHost
    void ChangeLabel(int categoryIndex) override { results_.ChangeLabel(categoryIndex); }
    void ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath) override
    {
        results_.ListBoxAddString(path, alternatePath);
    }
    void ListBoxAddEntry(const std::wstring& path, const std::wstring& alternatePath,
                         const platform::FileEntry& entry) override
    {
        const TLookupResult known = EntryLookup(entry);
        results_.ListBoxAddString(path, alternatePath, &known);
    }
    void ProcessMessages() override {}
    bool StopRequested() const override { return stopRequested_; }
    void ShowCurrentFolder(const std::wstring&) override {}
    void ShowMessage(const std::wstring& text) override { messages_.push_back(text); }

    // IScanDriverUi
    bool Busy() const override { return busy_; }
    void ChangeBusy(bool busy) override { busy_ = busy; }
    void SetScanCommandsEnabled(bool) override {}
    void SetStopRequested(bool stop) override { stopRequested_ = stop; }
    void ResetCounters() override { results_.ResetCounters(); }
    int ProblemCount() const override { return results_.ProblemCount(); }
    void SetResultsPage(bool) override {}
    void BlankList() override;
    void TurnPage(int) override {}
    void SetWaitCursor(bool) override {}
    void ShowStopButton(const std::wstring&) override {}
    void SetProgressText(const std::wstring&) override {}
    void RestoreWindow() override {}
    void RemoveFindings() override {}

private:
    const TScanState& state_;
    TResultsList& results_;
    std::vector<std::wstring> messages_;
    bool busy_ = false;
    bool stopRequested_ = false;
};

}  // namespace scan
