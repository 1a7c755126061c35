// One scan from start to end (Button1Click): prepares the state and the window, searches the
// special locations of the categories taking part, applies the user folder rules, walks the
// selected drives, lists the registry history lists, and closes however the scan ends.
#pragma once

#include <optional>
#include <string>

#include "registry/history_lists.h"
#include "scan/folder_walk.h"
#include "scan/scan_context.h"
#include "scan/scan_dates.h"
#include "scan/scan_driver_ui.h"

namespace scan {

// The fixed folder of the Juno ads, listed as it stands.
inline constexpr wchar_t kJunoAdsPattern[] = L"c:\\progra~1\\Juno\\ads\\0*.";

// Where the special locations are looked up. The defaults are the real ones; tests point
// them at their own folders and keys.
struct TScanPlaces {
    std::wstring WindowsDir;  // with a trailing backslash
    // The user's registry keys ("Software\...") are read under HKEY_CURRENT_USER + "\" +
    // UserKeyMirror; empty: under HKEY_CURRENT_USER itself.
    std::wstring UserKeyMirror;
    registry::THistoryKeyRoots HistoryRoots;
    std::wstring JunoAdsPattern = kJunoAdsPattern;
    TClock Clock = LocalNowSerial;
};

// "停止 \"清洁计算机\" 扫描" and the other stop button captions, by scan mode.
std::wstring StopButtonCaption(int scanMode);

// Whether the drive walk has work in this mode: always outside custom mode, in custom mode
// when a category that only the walk searches takes part.
bool NeedsDriveWalk(const app::TSettings& settings, int scanMode);

// The folder an environment variable names: the expansion of "%name%", or "" when the
// variable is undefined or empty.
std::wstring EnvironmentFolder(const std::wstring& name);

class TScanDriver {
public:
    // `state` carries the mode, OSKind, settings (with the drive selection) and the folder
    // markers; all four objects must outlive the driver.
    TScanDriver(TScanState& state, IScanHost& host, IScanDriverUi& ui, TScanPlaces places);

    // Runs one scan in state.ScanMode; does nothing while the window is busy. An automatic
    // run ends with the removal of the findings. An error ends the searching; the closing
    // steps still run and the error is then passed on.
    void Button1Click(bool autoScanActive);

private:
    void Prepare();
    void Search();
    void Close(bool autoScanActive);

    void MarkSkipFolders();
    void MarkTempFolders();
    void MarkWithLongForm(const std::wstring& folder);
    void TempFolders();
    void RecentFolder();
    void PrinterSpool();
    void JunoAds();
    void InternetCache();
    void InternetHistory();
    void InternetCookies();
    void FixedWindowsFolder(int category, const wchar_t* name);
    void UserFolderRules();
    void DriveWalk();
    void HistoryLists();

    // A key path below the user's root key ("\Software\...").
    std::wstring UserKey(const std::wstring& path) const;
    // The value of a key under the user's root; empty when the key does not open.
    std::optional<std::wstring> ReadUserValue(const std::wstring& key, const std::wstring& name) const;
    // Walks, shows and marks the folder a Netscape value names, when it exists.
    void BrowserFolderValue(const std::wstring& value);
    // A Shell Folders value with its Windows-folder fallback, walked as a browser folder.
    void ShellBrowserFolder(const std::wstring& valueName, const std::wstring& fallbackName);
    bool Takes(int category) const;

    TScanState& state_;
    IScanHost& host_;
    IScanDriverUi& ui_;
    TScanPlaces places_;
    std::optional<TFolderWalk> walk_;
    std::wstring temp_;
    std::wstring tmp_;
};

}  // namespace scan
