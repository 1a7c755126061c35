// The thirteen registry history lists (run box, open/save, recent documents, ...) and the scan
// that turns their entries into findings of the registry categories 72..84.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "scan/scan_context.h"

namespace registry {

// The list that Remove tracks leaves alone: the Start menu and Favorites order.
constexpr int kMenuOrderList = 78;

// Shown in the scan page's progress label before a key is listed.
inline constexpr wchar_t kHistoryKeyLabel[] = L"当前用户注册表项: ";

enum class THistoryKeySource {
    Fixed,         // the key items of the list
    AutoComplete,  // the protected-storage key found by GetAutoComplete
};

struct THistoryList {
    int Category;                        // 72..84
    const wchar_t* SettingsKey;          // its tick box in section [RegClean]
    THistoryKeySource Source;
    std::array<const wchar_t*, 4> Keys;  // key items in scan order; unused entries are nullptr
};

// The lists in scan order.
std::span<const THistoryList> HistoryLists();
// The list of a registry category; nullptr for any other index.
const THistoryList* FindHistoryList(int category);

// Where the lists' keys are read. With an empty MirrorKey the real keys; otherwise each key
// item "HKEY_...\path" is read as MirrorKey + "\" + item (tests keep copies there).
struct THistoryKeyRoots {
    std::wstring MirrorKey;
};

std::wstring HistoryKeyItem(const std::wstring& realItem, const THistoryKeyRoots& roots);

// The key items a list scans, in order, as read under `roots`. The AutoComplete list has the
// one of GetAutoComplete, or none when that finds no key.
std::vector<std::wstring> HistoryListKeyItems(const THistoryList& list, int osKind, const THistoryKeyRoots& roots = {});

// Whether a list takes part in a scan of `scanMode` (a scan::TScanMode): Remove tracks takes
// every list but the menu order; the other modes the ticked ones, Clean PC and Run custom
// settings only with run-in-main-scan on.
bool HistoryListTaken(int category, int scanMode, bool ticked, bool runInMainScan);

// The user part of the AutoComplete key: on NT systems the text form of the process user's
// security identifier (else of the logged-on user's account), on 95/98/Me the user name.
std::wstring AutoCompleteUser(int osKind);

// The protected-storage AutoComplete key of the user, as a key item: tried under
// HKEY_LOCAL_MACHINE, then HKEY_CURRENT_USER; empty when it opens under neither.
std::wstring GetAutoComplete(int osKind, const THistoryKeyRoots& roots = {});

// Lists the entries of every list that takes part in `state.ScanMode`: each list's category is
// made current with ChangeLabel, its findings go to ListBoxAddString. Absent keys add nothing;
// a stop request ends the listing.
void DoRegClean(const scan::TScanState& state, scan::IScanHost& host, const THistoryKeyRoots& roots = {});

// The scan of the registry page ("清洁勾选的列表 >>"): the ticked lists only, in scan mode 3.
void ScanTickedHistoryLists(scan::TScanState& state, scan::IScanHost& host, const THistoryKeyRoots& roots = {});

}  // namespace registry
