// Shared pieces of the walk tests: a host that records what a walk reports, settings with
// chosen categories, and file times in local day serials.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/settings.h"
#include "scan/scan_context.h"
#include "scan/scan_dates.h"

namespace walk_testing {

struct TFinding {
    int Category;
    std::wstring Path;
    std::wstring Alternate;
    friend bool operator==(const TFinding&, const TFinding&) = default;
};
std::ostream& operator<<(std::ostream& out, const TFinding& finding);

class TRecordingHost : public scan::IScanHost {
public:
    void ChangeLabel(int categoryIndex) override;
    void ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath) override;
    void ProcessMessages() override { ++Pumps; }
    bool StopRequested() const override { return Stop; }
    void ShowCurrentFolder(const std::wstring& folder) override { Shown.push_back(folder); }
    void ShowMessage(const std::wstring& text) override { Messages.push_back(text); }

    int Current = -1;
    std::vector<int> Labels;
    std::vector<TFinding> Findings;
    std::vector<std::wstring> Shown;
    std::vector<std::wstring> Messages;
    int Pumps = 0;
    bool Stop = false;
    size_t StopAfterFindings = 0;  // 0: never
};

// The finding paths with `base` cut off the front, in order.
std::vector<std::wstring> RelativePaths(const std::vector<TFinding>& findings, const std::wstring& base);

// Settings in which exactly these categories are ticked (custom mode takes only those).
app::TSettings SettingsWith(std::initializer_list<int> categories);

// A fixed "now" for date rules: 15 June 2020, 10:00 local time.
scan::TDateSerial FixedNow();
scan::TClock FixedClock();

FILETIME UtcOfLocalSerial(scan::TDateSerial serial);
// Sets last-write and last-access times of a file or folder (local serials).
void SetTimes(const std::wstring& path, std::optional<scan::TDateSerial> written,
              std::optional<scan::TDateSerial> accessed = std::nullopt);

// Creates a file (folders included) with `size` bytes.
void MakeFile(const std::wstring& path, size_t size = 1);
void MakeFolder(const std::wstring& path);

// Writes a shortcut to `target` with the program's own link component.
void MakeLink(const std::wstring& linkPath, const std::wstring& target);

// The short (8.3) name Windows gives a path's last component, or "" when it has none.
std::wstring ShortNameOf(const std::wstring& path);

}  // namespace walk_testing
