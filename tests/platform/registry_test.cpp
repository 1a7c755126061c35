#include <aclapi.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "platform/errors.h"
#include "platform/registry.h"
#include "support/test_support.h"

using namespace platform;
using testing_support::TestRegKey;
using testing_support::Utf8;
using testing_support::Wide;

namespace {

std::wstring MessageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const AppError& error) {
        return error.message();
    }
    return L"(no error)";
}

void SetRaw(const std::wstring& key, const std::wstring& name, DWORD type, const void* data, DWORD size)
{
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data, size), ERROR_SUCCESS);
}

// An opener that refuses some access masks and records every mask it is asked for.
struct RecordingOpener {
    std::vector<REGSAM> asked;
    std::vector<REGSAM> refused;
    LSTATUS operator()(HKEY root, const wchar_t* path, REGSAM access, HKEY* key)
    {
        asked.push_back(access);
        for (REGSAM mask : refused) {
            if (mask == access)
                return ERROR_ACCESS_DENIED;
        }
        return RegOpenKeyExW(root, path, 0, access, key);
    }
};

}  // namespace

TEST(Registry, TypedValuesRoundTrip)
{
    const std::wstring key = TestRegKey();
    const std::wstring chineseName = Wide("缓存目录");
    const std::wstring chineseData = Wide("C:\\临时文件\\缓存");
    {
        TNTRegistry reg;
        ASSERT_TRUE(reg.CreateKey(L"\\" + key));
        reg.WriteString(chineseName, chineseData);
        reg.WriteString(L"", L"default");
        reg.WriteExpandString(L"Expand", L"%SystemRoot%\\Temp");
        reg.WriteInteger(L"Count", 0xFFFFFFFEu);
        reg.WriteBinary(L"Blob", {0x00, 0xFF, 0x10});
        reg.WriteBinary(L"Empty", {});
    }
    TNTRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key));
    EXPECT_EQ(reg.CurrentPath(), key);
    EXPECT_EQ(reg.ReadString(chineseName), chineseData);
    EXPECT_EQ(reg.ReadString(L""), L"default");
    // Expand strings come back unexpanded, and ReadString accepts them.
    EXPECT_EQ(reg.ReadString(L"Expand"), L"%SystemRoot%\\Temp");
    EXPECT_EQ(reg.ReadInteger(L"Count"), 0xFFFFFFFEu);
    EXPECT_EQ(reg.ReadBinary(L"Blob"), (std::vector<BYTE>{0x00, 0xFF, 0x10}));
    EXPECT_TRUE(reg.ReadBinary(L"Empty").empty());

    struct Info {
        const wchar_t* name;
        DWORD type;
        DWORD size;
    } infos[] = {
        {L"Expand", REG_EXPAND_SZ, 36}, {L"Count", REG_DWORD, 4}, {L"Blob", REG_BINARY, 3}, {L"Empty", REG_BINARY, 0}};
    for (const Info& expected : infos) {
        std::optional<RegValueInfo> info = reg.GetValueInfo(expected.name);
        ASSERT_TRUE(info.has_value()) << Utf8(expected.name);
        EXPECT_EQ(info->type, expected.type) << Utf8(expected.name);
        EXPECT_EQ(info->size, expected.size) << Utf8(expected.name);
    }
    EXPECT_TRUE(reg.ValueExists(L"Count"));
    EXPECT_FALSE(reg.ValueExists(L"Missing"));
    EXPECT_FALSE(reg.GetValueInfo(L"Missing").has_value());
}

TEST(Registry, FailedReadsAndWritesRaiseTheirMessages)
{
    const std::wstring key = TestRegKey();
    TNTRegistry writer;
    ASSERT_TRUE(writer.CreateKey(key));
    writer.WriteString(L"Text", L"abc");
    writer.WriteInteger(L"Number", 7);

    TNTRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key));
    // A missing string is empty text, not an error.
    EXPECT_EQ(reg.ReadString(L"Missing"), L"");
    EXPECT_TRUE(reg.ReadBinary(L"Missing").empty());
    EXPECT_EQ(MessageOf([&] { reg.ReadInteger(L"Missing"); }), Wide("获取数据 'Missing' 失败"));
    EXPECT_EQ(MessageOf([&] { reg.ReadInteger(L"Text"); }), Wide("获取数据 'Text' 失败"));
    EXPECT_EQ(MessageOf([&] { reg.ReadString(L"Number"); }), Wide("获取数据 'Number' 失败"));
    EXPECT_EQ(MessageOf([&] { reg.ReadBinary(L"Text"); }), Wide("获取数据 'Text' 失败"));

    // A key opened for reading only refuses writes.
    TNTRegistry readOnly;
    RecordingOpener opener;
    opener.refused = {kOpenAccessOrder[0], kOpenAccessOrder[1]};
    readOnly.SetOpenFunction(std::ref(opener));
    ASSERT_TRUE(readOnly.OpenKey(key));
    EXPECT_EQ(MessageOf([&] { readOnly.WriteString(Wide("名称"), L"x"); }), Wide("设置数据 '名称' 失败"));
    EXPECT_EQ(MessageOf([&] { readOnly.WriteInteger(L"Number", 1); }), Wide("设置数据 'Number' 失败"));
    EXPECT_EQ(readOnly.ReadInteger(L"Number"), 7u);

    // No key open at all.
    TNTRegistry closed;
    EXPECT_EQ(MessageOf([&] { closed.ReadString(L"Text"); }), Wide("获取数据 'Text' 失败"));
    EXPECT_EQ(MessageOf([&] { closed.WriteString(L"Text", L""); }), Wide("设置数据 'Text' 失败"));
}

TEST(Registry, OpenKeyFallsBackToLesserAccessAndNeverCreates)
{
    const std::wstring key = TestRegKey();
    ASSERT_TRUE(TNTRegistry().CreateKey(key));

    struct Case {
        std::vector<REGSAM> refused;
        size_t tries;
        REGSAM granted;
    } cases[] = {
        {{}, 1, kOpenAccessOrder[0]},
        {{kOpenAccessOrder[0]}, 2, kOpenAccessOrder[1]},
        {{kOpenAccessOrder[0], kOpenAccessOrder[1]}, 3, KEY_READ},
    };
    for (const Case& c : cases) {
        RecordingOpener opener;
        opener.refused = c.refused;
        TNTRegistry reg;
        reg.SetOpenFunction(std::ref(opener));
        ASSERT_TRUE(reg.OpenKey(key));
        EXPECT_EQ(reg.Access(), c.granted);
        ASSERT_EQ(opener.asked.size(), c.tries);
        for (size_t i = 0; i < c.tries; ++i)
            EXPECT_EQ(opener.asked[i], kOpenAccessOrder[i]);
    }

    RecordingOpener denyAll;
    denyAll.refused = {kOpenAccessOrder[0], kOpenAccessOrder[1], kOpenAccessOrder[2]};
    TNTRegistry denied;
    denied.SetOpenFunction(std::ref(denyAll));
    EXPECT_FALSE(denied.OpenKey(key));
    EXPECT_EQ(denyAll.asked.size(), 3u);

    // A missing key is not created, and one failed try is enough to know it is missing.
    RecordingOpener opener;
    TNTRegistry reg;
    reg.SetOpenFunction(std::ref(opener));
    EXPECT_FALSE(reg.OpenKey(key + L"\\Missing"));
    EXPECT_FALSE(reg.IsOpen());
    EXPECT_EQ(opener.asked.size(), 1u);
    EXPECT_FALSE(reg.KeyExists(key + L"\\Missing"));
}

TEST(Registry, KeyWhoseAclAllowsOnlyReadingOpensReadOnly)
{
    const std::wstring key = TestRegKey();
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(handle, L"Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"v"), 4);
    // Everyone may read; nobody may write. The owner keeps the right to change the ACL back.
    EXPLICIT_ACCESSW readOnly{};
    wchar_t everyone[] = L"EVERYONE";
    BuildExplicitAccessWithNameW(&readOnly, everyone, KEY_READ, SET_ACCESS, NO_INHERITANCE);
    PACL acl = nullptr;
    ASSERT_EQ(SetEntriesInAclW(1, &readOnly, nullptr, &acl), ERROR_SUCCESS);
    DWORD rc = SetSecurityInfo(handle, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                               nullptr, nullptr, acl, nullptr);
    RegCloseKey(handle);
    LocalFree(acl);
    ASSERT_EQ(rc, ERROR_SUCCESS);

    HKEY probe = nullptr;
    LSTATUS full = RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &probe);
    if (full == ERROR_SUCCESS)
        RegCloseKey(probe);

    TNTRegistry reg;
    const bool opened = reg.OpenKey(key);
    const REGSAM access = reg.Access();
    const std::wstring value = opened ? reg.ReadString(L"Value") : L"";
    const std::wstring writeError = MessageOf([&] { reg.WriteString(L"Value", L"w"); });
    reg.CloseKey();

    // Give the key back its default ACL so that the next run can delete it.
    HKEY restore = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, WRITE_DAC, &restore) == ERROR_SUCCESS) {
        SetSecurityInfo(restore, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
                        nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(restore);
    }
    TNTRegistry().DeleteKey(key);

    if (full == ERROR_SUCCESS)
        GTEST_SKIP() << "this system grants full access despite the key's ACL";
    ASSERT_TRUE(opened);
    EXPECT_EQ(access, KEY_READ);
    EXPECT_EQ(value, L"v");
    EXPECT_EQ(writeError, Wide("设置数据 'Value' 失败"));
}

TEST(Registry, StoredStringsWithoutTerminatorOrOddSizeAreReadSafely)
{
    const std::wstring key = TestRegKey();
    ASSERT_TRUE(TNTRegistry().CreateKey(key));
    struct Case {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> bytes;
        std::wstring expected;
    } cases[] = {
        {L"NoNul", REG_SZ, {'a', 0, 'b', 0, 'c', 0}, L"abc"},
        {L"OddSize", REG_SZ, {'a', 0, 'b', 0, 'c'}, L"ab"},
        {L"EmbeddedNul", REG_EXPAND_SZ, {'a', 0, 0, 0, 'b', 0, 0, 0}, L"a"},
        {L"ZeroBytes", REG_SZ, {}, L""},
        {L"OneByte", REG_SZ, {'x'}, L""},
    };
    for (const Case& c : cases)
        SetRaw(key, c.name, c.type, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
    TNTRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key));
    for (const Case& c : cases)
        EXPECT_EQ(reg.ReadString(c.name), c.expected) << Utf8(c.name);
}

TEST(Registry, ValueThatChangesSizeWhileBeingReadIsReadWhole)
{
    const std::wstring key = TestRegKey();
    ASSERT_TRUE(TNTRegistry().CreateKey(key));
    const std::wstring shortText = L"short";
    const std::wstring longText(20000, L'L');
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        HKEY handle = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, &handle);
        for (int i = 0; !stop; ++i) {
            const std::wstring& text = (i % 2) ? longText : shortText;
            RegSetValueExW(handle, L"Grows", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        }
        RegCloseKey(handle);
    });
    TNTRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key));
    int wrong = 0, failed = 0;
    for (int i = 0; i < 1500; ++i) {
        try {
            std::wstring text = reg.ReadString(L"Grows");
            if (text != shortText && text != longText && !text.empty())
                ++wrong;
        } catch (const AppError&) {
            ++failed;  // gave up after many changes in a row; allowed, but must be rare
        }
    }
    stop = true;
    writer.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_LT(failed, 15);
}

TEST(Registry, ListsNamesDeletesValuesAndWholeKeys)
{
    const std::wstring key = TestRegKey();
    const std::wstring longName(1000, L'n');
    {
        TNTRegistry reg;
        ASSERT_TRUE(reg.CreateKey(key));
        reg.WriteString(L"A", L"1");
        reg.WriteString(longName, L"2");
        reg.WriteString(Wide("历史"), L"3");
        ASSERT_TRUE(reg.CreateKey(key + L"\\Sub\\Deeper\\Deepest"));
        ASSERT_TRUE(reg.CreateKey(key + L"\\" + Wide("子项") + L"\\" + longName.substr(0, 255)));
    }
    TNTRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key));
    std::vector<std::wstring> values = reg.GetValueNames();
    std::sort(values.begin(), values.end());
    std::vector<std::wstring> expectedValues = {L"A", longName, Wide("历史")};
    std::sort(expectedValues.begin(), expectedValues.end());
    EXPECT_EQ(values, expectedValues);
    std::vector<std::wstring> keys = reg.GetKeyNames();
    std::sort(keys.begin(), keys.end());
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"Sub", Wide("子项")}));
    EXPECT_TRUE(reg.HasSubKeys());

    EXPECT_TRUE(reg.DeleteValue(L"A"));
    EXPECT_FALSE(reg.DeleteValue(L"A"));
    EXPECT_FALSE(reg.ValueExists(L"A"));

    EXPECT_TRUE(reg.KeyExists(key + L"\\Sub\\Deeper"));
    EXPECT_TRUE(reg.DeleteKey(key + L"\\Sub"));
    EXPECT_FALSE(reg.KeyExists(key + L"\\Sub"));
    EXPECT_TRUE(reg.KeyExists(key + L"\\" + Wide("子项")));
    // Deleting what is already gone succeeds; the root itself is never deleted.
    EXPECT_TRUE(reg.DeleteKey(key + L"\\Sub"));
    EXPECT_FALSE(reg.DeleteKey(L""));
    EXPECT_FALSE(reg.DeleteKey(L"\\"));
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey(key));
    EXPECT_FALSE(reg.KeyExists(key));
}

TEST(Registry, RootKeysByName)
{
    struct Case {
        const wchar_t* name;
        HKEY key;
    } cases[] = {
        {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER}, {L"hkey_local_machine", HKEY_LOCAL_MACHINE},
        {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT}, {L"HKEY_USERS", HKEY_USERS},
        {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}, {L"HKCU", HKEY_CURRENT_USER},
        {L"HKLM", HKEY_LOCAL_MACHINE}, {L"HKEY_CURRENT", nullptr}, {L"", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RootKeyFromName(c.name), c.key) << Utf8(c.name);
    EXPECT_EQ(RootKeyName(HKEY_LOCAL_MACHINE), L"HKEY_LOCAL_MACHINE");
    EXPECT_EQ(RootKeyName(nullptr), L"");
}
