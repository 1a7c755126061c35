#include "registry/history_lists.h"

#include "platform/registry.h"
#include "platform/user_sid.h"
#include "registry/reg_removal.h"
#include "registry/reg_roots.h"
#include "scan/catalogue.h"

namespace registry {

namespace {

using enum THistoryKeySource;

constexpr THistoryList kHistoryLists[] = {
    {72, L"RunHistory", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU"}},
    {73, L"OpenSave", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
      L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedMRU"}},
    {74, L"Doc", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs"}},
    {75, L"OpenWith", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts"}},
    {76, L"Search", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Search Assistant\\ACMru",
      L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Doc Find Spec MRU",
      L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Explorer Bars\\"
      L"{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU",
      L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Explorer Bars\\"
      L"{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\ContainingTextMRU"}},
    {77, L"FindComp", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FindComputerMRU"}},
    {78, L"MenuOrder", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder"}},
    {79, L"NetAddress", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\TypedURLs",
      L"HKEY_USERS\\.Default\\Software\\Microsoft\\Internet Explorer\\TypedURLs",
      L"HKEY_CURRENT_USER\\Software\\Netscape\\Netscape Navigator\\URL History"}},
    {80, L"NetPass", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW"}},
    {81, L"NetAutoComplete", AutoComplete, {}},
    {82, L"UserAssist", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
      L"{5E6AB780-7743-11CF-A12B-00AA004AE837}\\Count",
      L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\"
      L"{75048700-EF1F-11D0-9888-006097DEACF9}\\Count"}},
    {83, L"MSPaint", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Paint\\Recent File List"}},
    {84, L"MediaPlay", Fixed,
     {L"HKEY_CURRENT_USER\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList"}},
};

constexpr wchar_t kAutoCompleteStore[] = L"e161255a-37c3-11d2-bcaa-00c04fd929db";
constexpr const wchar_t* kAutoCompleteRoots[] = {L"HKEY_LOCAL_MACHINE", L"HKEY_CURRENT_USER"};

// Version codes 1 to 3 are Windows 95, 98 and Me; every other code is an NT system.
bool IsNTSystem(int osKind) { return osKind < 1 || osKind > 3; }

bool KeyOpens(const std::wstring& item)
{
    std::wstring path = item;
    std::wstring rootName;
    HKEY root = RootStToRoot(path, rootName);
    if (!root)
        return false;
    platform::TNTRegistry registry(root);
    return registry.OpenKey(path);
}

bool Ticked(const scan::TScanState& state, int category)
{
    return state.Settings && state.Settings->Categories[category].Enabled;
}

}  // namespace

std::span<const THistoryList> HistoryLists() { return kHistoryLists; }

const THistoryList* FindHistoryList(int category)
{
    for (const THistoryList& list : kHistoryLists) {
        if (list.Category == category)
            return &list;
    }
    return nullptr;
}

std::wstring HistoryKeyItem(const std::wstring& realItem, const THistoryKeyRoots& roots)
{
    return roots.MirrorKey.empty() ? realItem : roots.MirrorKey + L"\\" + realItem;
}

std::vector<std::wstring> HistoryListKeyItems(const THistoryList& list, int osKind, const THistoryKeyRoots& roots)
{
    std::vector<std::wstring> items;
    if (list.Source == AutoComplete) {
        std::wstring item = GetAutoComplete(osKind, roots);
        if (!item.empty())
            items.push_back(std::move(item));
        return items;
    }
    for (const wchar_t* key : list.Keys) {
        if (key)
            items.push_back(HistoryKeyItem(key, roots));
    }
    return items;
}

bool HistoryListTaken(int category, int scanMode, bool ticked, bool runInMainScan)
{
    if (!FindHistoryList(category))
        return false;
    if (scanMode == scan::smRemoveTracks)
        return category != kMenuOrderList;
    return scan::CategoryTaken(category, scanMode, ticked, runInMainScan);
}

std::wstring AutoCompleteUser(int osKind)
{
    if (!IsNTSystem(osKind))
        return platform::LoggedOnUserName();
    std::wstring sid = platform::ProcessUserSidText();
    if (sid.empty())
        sid = platform::AccountSidText(platform::LoggedOnUserName());
    return sid;
}

std::wstring GetAutoComplete(int osKind, const THistoryKeyRoots& roots)
{
    const std::wstring user = AutoCompleteUser(osKind);
    if (user.empty())
        return {};
    const std::wstring path = std::wstring(L"\\SOFTWARE\\Microsoft\\Protected Storage System Provider\\") + user +
                              L"\\Data\\" + kAutoCompleteStore + L"\\" + kAutoCompleteStore;
    for (const wchar_t* rootName : kAutoCompleteRoots) {
        std::wstring item = HistoryKeyItem(rootName + path, roots);
        if (KeyOpens(item))
            return item;
    }
    return {};
}

void DoRegClean(const scan::TScanState& state, scan::IScanHost& host, const THistoryKeyRoots& roots)
{
    RegistryRemover lister(
        state.OSKind, std::wstring(), [&host](const std::wstring& item) { host.ListBoxAddString(item, std::wstring()); },
        [&host] { return host.StopRequested(); });
    const bool runInMainScan = state.Settings && state.Settings->RunInMainScan;
    for (const THistoryList& list : kHistoryLists) {
        if (!HistoryListTaken(list.Category, state.ScanMode, Ticked(state, list.Category), runInMainScan))
            continue;
        host.ChangeLabel(list.Category);
        for (const std::wstring& item : HistoryListKeyItems(list, state.OSKind, roots)) {
            host.ShowProgressText(kHistoryKeyLabel + item);
            host.ProcessMessages();
            lister.RemoveRegistryKey(item, true);
        }
    }
}

void ScanTickedHistoryLists(scan::TScanState& state, scan::IScanHost& host, const THistoryKeyRoots& roots)
{
    state.ScanMode = scan::smRegistryHistory;
    state.HandledFolders.Clear();
    DoRegClean(state, host, roots);
}

}  // namespace registry
