#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>
#include <shlwapi.h>

#include <algorithm>
#include <set>
#include <vector>

#include "app/settings.h"
#include "platform/user_sid.h"
#include "registry/history_lists.h"
#include "registry/reg_removal.h"
#include "support/test_support.h"

using namespace registry;
using testing_support::TestRegKey;

namespace {

const wchar_t kStore[] = L"e161255a-37c3-11d2-bcaa-00c04fd929db";

// What the engine told the host, in order: "label 72", "progress <text>", "finding <text>".
class RecordingHost : public scan::IScanHost {
public:
    void ChangeLabel(int categoryIndex) override
    {
        current = categoryIndex;
        labels.push_back(categoryIndex);
        events.push_back(L"label " + std::to_wstring(categoryIndex));
    }
    void ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath) override
    {
        EXPECT_EQ(alternatePath, L"") << "registry findings have no short form";
        findings.push_back({current, path});
        events.push_back(L"finding " + path);
    }
    void ProcessMessages() override {}
    bool StopRequested() const override { return stopFrom >= 0 && current >= stopFrom; }
    void ShowCurrentFolder(const std::wstring& folder) override { events.push_back(L"folder " + folder); }
    void ShowProgressText(const std::wstring& text) override { events.push_back(L"progress " + text); }
    void ShowMessage(const std::wstring& text) override { events.push_back(L"message " + text); }

    // Categories that received findings, in order of their first finding.
    std::vector<int> FindingCategories() const
    {
        std::vector<int> categories;
        for (const auto& [category, text] : findings) {
            if (categories.empty() || categories.back() != category)
                categories.push_back(category);
        }
        return categories;
    }
    std::vector<std::wstring> FindingsOf(int category) const
    {
        std::vector<std::wstring> texts;
        for (const auto& [findingCategory, text] : findings) {
            if (findingCategory == category)
                texts.push_back(text);
        }
        return texts;
    }

    int current = -1;
    int stopFrom = -1;  // StopRequested once this category (or a later one) is current
    std::vector<int> labels;
    std::vector<std::pair<int, std::wstring>> findings;
    std::vector<std::wstring> events;
};

// The process user's identifier as the system formats it.
std::wstring SystemFormOfProcessUser()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::vector<BYTE> buffer(1024);
    DWORD size = 0;
    std::wstring text;
    if (GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
        wchar_t* converted = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &converted)) {
            text = converted;
            LocalFree(converted);
        }
    }
    CloseHandle(token);
    return text;
}

std::wstring AutoCompletePath(const std::wstring& user)
{
    return L"\\SOFTWARE\\Microsoft\\Protected Storage System Provider\\" + user + L"\\Data\\" + kStore + L"\\" +
           kStore;
}

void SetValue(const std::wstring& userPath, const std::wstring& name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, userPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetString(const std::wstring& userPath, const std::wstring& name, const std::wstring& text)
{
    SetValue(userPath, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// Per-test copies of the history keys under HKEY_CURRENT_USER\<TestRegKey()>.
class HistoryListScan : public ::testing::Test {
protected:
    void SetUp() override
    {
        base_ = TestRegKey();
        roots_.MirrorKey = L"HKEY_CURRENT_USER\\" + base_;
        settings_.RunInMainScan = false;
        for (int category = 72; category <= 84; ++category)
            settings_.Categories[category].Enabled = false;
        state_.Settings = &settings_;
    }

    // The HKEY_CURRENT_USER path of the copy of a real key item.
    std::wstring CopyPath(const std::wstring& realItem) const { return base_ + L"\\" + realItem; }

    // Gives every key of every list one string value "a" = "x"; list 81 under HKEY_CURRENT_USER.
    void FillEveryList()
    {
        for (const THistoryList& list : registry::HistoryLists()) {
            for (const wchar_t* key : list.Keys) {
                if (key)
                    SetString(CopyPath(key), L"a", L"x");
            }
        }
        SetString(CopyPath(L"HKEY_CURRENT_USER" + AutoCompletePath(SystemFormOfProcessUser())), L"a", L"x");
    }

    void Tick(const std::set<int>& categories)
    {
        for (int category : categories)
            settings_.Categories[category].Enabled = true;
    }

    std::wstring base_;
    THistoryKeyRoots roots_;
    app::TSettings settings_;
    scan::TScanState state_;
    RecordingHost host_;
};

}  // namespace

TEST_F(HistoryListScan, ModeDecidesWhichListsAreScanned)
{
    const std::vector<int> allButMenuOrder = {72, 73, 74, 75, 76, 77, 79, 80, 81, 82, 83, 84};
    struct Case {
        const char* name;
        int mode;
        std::set<int> ticked;
        bool runInMainScan;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"remove tracks, nothing ticked", scan::smRemoveTracks, {}, false, allButMenuOrder},
        {"remove tracks, only menu order ticked", scan::smRemoveTracks, {78}, true, allButMenuOrder},
        {"registry page, some ticked", scan::smRegistryHistory, {72, 78, 81, 84}, false, {72, 78, 81, 84}},
        {"registry page, nothing ticked", scan::smRegistryHistory, {}, true, {}},
        {"clean PC with run-in-main-scan", scan::smCleanPC, {73, 78}, true, {73, 78}},
        {"clean PC without run-in-main-scan", scan::smCleanPC, {73, 78}, false, {}},
        {"custom with run-in-main-scan", scan::smCustom, {76, 80, 82}, true, {76, 80, 82}},
        {"custom without run-in-main-scan", scan::smCustom, {76, 80, 82}, false, {}},
    };
    FillEveryList();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app::TSettings settings;
        for (int category = 72; category <= 84; ++category)
            settings.Categories[category].Enabled = c.ticked.count(category) > 0;
        settings.RunInMainScan = c.runInMainScan;
        scan::TScanState state;
        state.Settings = &settings;
        RecordingHost host;
        if (c.mode == scan::smRegistryHistory) {
            state.ScanMode = scan::smRemoveTracks;  // the page's scan sets its own mode
            ScanTickedHistoryLists(state, host, roots_);
            EXPECT_EQ(state.ScanMode, scan::smRegistryHistory);
        } else {
            state.ScanMode = static_cast<uint8_t>(c.mode);
            DoRegClean(state, host, roots_);
        }
        EXPECT_EQ(host.labels, c.expected);
        EXPECT_EQ(host.FindingCategories(), c.expected);
        for (int category : c.expected) {
            std::vector<std::wstring> expected;
            for (const std::wstring& item : HistoryListKeyItems(*FindHistoryList(category), 0, roots_)) {
                expected.push_back(item + L"\\\\:\"a\"=x");
                expected.push_back(item);
            }
            EXPECT_EQ(host.FindingsOf(category), expected) << "category " << category;
        }
    }
}

TEST_F(HistoryListScan, FindingsUseTheItemTextsOfKeysAndValues)
{
    const std::wstring runMru = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    const std::wstring copy = CopyPath(runMru);
    SetString(copy, L"", L"default");
    SetString(copy, L"a", L"cmd /c \"x\"\\1");
    const BYTE bytes[] = {1, 2, 3};
    SetValue(copy, L"b", REG_BINARY, bytes, sizeof bytes);
    const DWORD minusOne = 0xFFFFFFFF;
    SetValue(copy, L"n", REG_DWORD, &minusOne, sizeof minusOne);
    SetString(copy + L"\\Sub", L"s", L"t");
    Tick({72});
    state_.ScanMode = scan::smRegistryHistory;

    DoRegClean(state_, host_, roots_);

    const std::wstring item = roots_.MirrorKey + L"\\" + runMru;
    const std::vector<std::wstring> expected = {
        L"label 72",
        L"progress 当前用户注册表项: " + item,
        L"finding " + item + L"\\\\:@=default",
        L"finding " + item + L"\\\\:\"a\"=cmd /c \\\"x\\\"\\\\1",
        L"finding " + item + L"\\\\:\"b\"=( 二进制数据 )",
        L"finding " + item + L"\\\\:\"n\"=-1",
        L"finding " + item + L"\\Sub\\\\:\"s\"=t",
        L"finding " + item + L"\\Sub",
        L"finding " + item,
    };
    EXPECT_EQ(host_.events, expected);
}

TEST_F(HistoryListScan, AbsentKeysAddNothing)
{
    Tick({73, 79});
    state_.ScanMode = scan::smRegistryHistory;

    DoRegClean(state_, host_, roots_);

    EXPECT_EQ(host_.labels, (std::vector<int>{73, 79}));
    EXPECT_TRUE(host_.findings.empty());
    for (const std::wstring& event : host_.events)
        EXPECT_EQ(event.rfind(L"message", 0), std::wstring::npos) << "no message for an absent key";
    // Each of the five keys of both lists is still shown while it is tried.
    EXPECT_EQ(std::count_if(host_.events.begin(), host_.events.end(),
                            [](const std::wstring& event) { return event.rfind(L"progress", 0) == 0; }),
              5);
}

TEST_F(HistoryListScan, StopDuringOneListKeepsEarlierFindingsAndAddsNoMore)
{
    FillEveryList();
    host_.stopFrom = 76;
    state_.ScanMode = scan::smRemoveTracks;

    DoRegClean(state_, host_, roots_);

    EXPECT_EQ(host_.FindingCategories(), (std::vector<int>{72, 73, 74, 75}));
    EXPECT_EQ(host_.FindingsOf(73).size(), 4u);
}

TEST_F(HistoryListScan, AutoCompleteKeyIsTriedUnderLocalMachineThenCurrentUser)
{
    const std::wstring sid = SystemFormOfProcessUser();
    ASSERT_FALSE(sid.empty());
    const std::wstring machineItem = L"HKEY_LOCAL_MACHINE" + AutoCompletePath(sid);
    const std::wstring userItem = L"HKEY_CURRENT_USER" + AutoCompletePath(sid);

    EXPECT_EQ(GetAutoComplete(0, roots_), L"") << "neither key exists";

    SetString(CopyPath(userItem), L"a", L"x");
    EXPECT_EQ(GetAutoComplete(0, roots_), roots_.MirrorKey + L"\\" + userItem);
    EXPECT_EQ(GetAutoComplete(6, roots_), roots_.MirrorKey + L"\\" + userItem) << "Windows XP";

    SetString(CopyPath(machineItem), L"a", L"x");
    EXPECT_EQ(GetAutoComplete(0, roots_), roots_.MirrorKey + L"\\" + machineItem);
}

TEST_F(HistoryListScan, AutoCompleteUserIsTheUserNameOnWindows9x)
{
    const std::wstring user = platform::LoggedOnUserName();
    ASSERT_FALSE(user.empty());
    EXPECT_EQ(AutoCompleteUser(2), user);
    EXPECT_EQ(AutoCompleteUser(0), SystemFormOfProcessUser());

    const std::wstring userItem = L"HKEY_CURRENT_USER" + AutoCompletePath(user);
    SetString(CopyPath(userItem), L"a", L"x");
    EXPECT_EQ(GetAutoComplete(3, roots_), roots_.MirrorKey + L"\\" + userItem) << "Windows Me";
    EXPECT_EQ(GetAutoComplete(0, roots_), L"") << "the NT key is named by the identifier";
}

// Reads the real RunMRU key of the prefix without changing it.
TEST(HistoryListsRealKeys, DefaultRootsListTheRealRunMRUKey)
{
    const std::wstring runMru = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
    app::TSettings settings;
    settings.Categories[72].Enabled = true;
    scan::TScanState state;
    state.Settings = &settings;
    RecordingHost host;

    ScanTickedHistoryLists(state, host);

    std::vector<std::wstring> direct;
    RegistryRemover lister(0, L"", [&](const std::wstring& item) { direct.push_back(item); });
    lister.RemoveRegistryKey(runMru, true);
    ASSERT_GE(host.events.size(), 2u);
    EXPECT_EQ(host.events[1], L"progress 当前用户注册表项: " + runMru);
    EXPECT_EQ(host.FindingsOf(72), direct);
}

namespace {

// Creates the real SPW key of the prefix for one test and removes again what it created.
class RealKeyCreated {
public:
    explicit RealKeyCreated(const std::wstring& path)
    {
        size_t end = 0;
        do {
            end = path.find(L'\\', end + 1);
            const std::wstring prefix = path.substr(0, end);
            HKEY key = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, prefix.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
                topCreated_ = prefix;
                break;
            }
            RegCloseKey(key);
        } while (end != std::wstring::npos);
    }
    ~RealKeyCreated()
    {
        if (!topCreated_.empty())
            SHDeleteKeyW(HKEY_CURRENT_USER, topCreated_.c_str());
    }
    // False when the key was there already: the test then leaves it alone.
    bool WasAbsent() const { return !topCreated_.empty(); }

private:
    std::wstring topCreated_;
};

}  // namespace

TEST(HistoryListsRealKeys, PasswordListKeyItselfIsNeverListed)
{
    const std::wstring spw = L"Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW";
    RealKeyCreated created(spw);
    if (!created.WasAbsent())
        GTEST_SKIP() << "the prefix has a password list of its own";
    SetString(spw, L"p", L"1");
    SetString(spw + L"\\Site", L"u", L"v");
    app::TSettings settings;
    settings.Categories[80].Enabled = true;
    scan::TScanState state;
    state.Settings = &settings;
    state.ScanMode = scan::smRegistryHistory;
    RecordingHost host;

    DoRegClean(state, host);

    const std::wstring item = L"HKEY_CURRENT_USER\\" + spw;
    EXPECT_EQ(host.FindingsOf(80), (std::vector<std::wstring>{item + L"\\\\:\"p\"=1", item + L"\\Site\\\\:\"u\"=v",
                                                               item + L"\\Site"}));
}

TEST(HistoryListTable, OneListPerRegistryCategoryWithTheCataloguesSettingsKey)
{
    int category = scan::kFirstRegistryCategory;
    for (const THistoryList& list : registry::HistoryLists()) {
        EXPECT_EQ(list.Category, category);
        EXPECT_STREQ(list.SettingsKey, scan::Category(category).Setting.EnableKey);
        ++category;
    }
    EXPECT_EQ(category, scan::kFirstRegistryCategory + scan::kRegistryCategoryCount);
}
