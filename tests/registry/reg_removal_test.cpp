#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <tuple>

#include "platform/errors.h"
#include "registry/reg_removal.h"
#include "support/test_support.h"

using namespace registry;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::RunProcess;
using testing_support::TestDir;
using testing_support::TestRegKey;
using testing_support::Utf8;
using testing_support::Wide;
using testing_support::WriteFileBytes;

namespace {

const std::wstring kUser = L"HKEY_CURRENT_USER\\";

// Every value of a key and its subkeys: key path -> value name -> (type, data).
using Snapshot = std::map<std::wstring, std::map<std::wstring, std::pair<DWORD, std::string>>>;

void TakeSnapshot(HKEY root, const std::wstring& path, Snapshot& out)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    auto& values = out[path];
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD nameLength = 512;
        DWORD type = 0;
        BYTE data[4096];
        DWORD size = sizeof data;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        values[std::wstring(name, nameLength)] = {type, std::string(reinterpret_cast<char*>(data), size)};
    }
    std::vector<std::wstring> subkeys;
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD nameLength = 512;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subkeys.emplace_back(name, nameLength);
    }
    RegCloseKey(key);
    for (const std::wstring& subkey : subkeys)
        TakeSnapshot(root, path + L"\\" + subkey, out);
}

Snapshot SnapshotOf(const std::wstring& path)
{
    Snapshot snapshot;
    TakeSnapshot(HKEY_CURRENT_USER, path, snapshot);
    return snapshot;
}

void SetRaw(const std::wstring& path, const std::wstring& name, DWORD type, const void* data, size_t size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void SetText(const std::wstring& path, const std::wstring& name, DWORD type, const std::wstring& withNulls)
{
    SetRaw(path, name, type, withNulls.data(), withNulls.size() * sizeof(wchar_t));
}

void CreateKey(const std::wstring& path)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

bool KeyExists(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool ValueExists(const std::wstring& path, const std::wstring& name)
{
    return RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

// Values of every type, awkward strings and names, and nested subkeys.
void MakeFixtureTree(const std::wstring& key)
{
    SetText(key, L"", REG_SZ, std::wstring(L"default", 8));
    SetText(key, L"text", REG_SZ, Wide("文本 text") + L'\0');
    SetText(key, L"escaped", REG_SZ, std::wstring(L"1\r\n2\n\"q\" C:\\dir\\", 17));
    SetText(key, L"empty", REG_SZ, std::wstring(L"", 1));
    SetText(key, L"a\\b \"c\" d=e", REG_SZ, std::wstring(L"odd name", 9));
    SetRaw(key, L"unterminated", REG_SZ, "A\0B\0", 4);
    const DWORD number = 0xFFFFFF85;
    SetRaw(key, L"num", REG_DWORD, &number, 4);
    std::string bytes;
    for (int i = 0; i < 30; ++i)
        bytes += static_cast<char>(i * 37);
    SetRaw(key, L"bin30", REG_BINARY, bytes.data(), bytes.size());
    SetRaw(key, L"binEmpty", REG_BINARY, "", 0);
    SetText(key, L"expand", REG_EXPAND_SZ, std::wstring(L"%SystemRoot%\\x", 15));
    SetText(key, L"multi", REG_MULTI_SZ, std::wstring(L"one\0two\0", 9));
    const unsigned long long wide = 0x8000000000000001ull;
    SetRaw(key, L"qword", REG_QWORD, &wide, 8);
    SetRaw(key, L"none", REG_NONE, "\x01\x02\x03", 3);
    SetText(key + L"\\Sub", L"a", REG_SZ, std::wstring(L"1", 2));
    CreateKey(key + L"\\Sub\\Deeper");
    SetText(key + L"\\Sub2", L"", REG_SZ, std::wstring(L"sub default", 12));
}

bool ImportWithRegedit(const std::wstring& regFile)
{
    return RunProcess(L"regedit.exe /s \"" + regFile + L"\"") == 0;
}

struct Harness {
    std::wstring backup;
    std::vector<std::wstring> findings;
    bool stop = false;
    RegistryRemover remover;

    Harness(int osKind, const std::wstring& backupPath)
        : backup(backupPath),
          remover(osKind, backupPath, [this](const std::wstring& item) { findings.push_back(item); },
                  [this] { return stop; })
    {
    }
};

}  // namespace

TEST(RegRemoval, ListModeGivesValuesThenSubkeysThenKey)
{
    const std::wstring key = TestRegKey();
    const DWORD number = static_cast<DWORD>(-7);
    SetRaw(key, L"", REG_DWORD, &number, 4);
    SetText(key, L"a", REG_SZ, std::wstring(L"C:\\x", 5));
    SetRaw(key + L"\\S", L"b", REG_BINARY, "\x01", 1);
    CreateKey(key + L"\\S\\T");
    Harness h(6, TestDir() + L"u.reg");

    EXPECT_TRUE(h.remover.RemoveRegistryKey(kUser + key + L"\\", true));
    const std::wstring item = kUser + key;
    const std::vector<std::wstring> expected = {
        item + L"\\\\:@=-7",
        item + L"\\\\:\"a\"=C:\\\\x",
        item + L"\\S\\\\:\"b\"=" + Wide("( 二进制数据 )"),
        item + L"\\S\\T",
        item + L"\\S",
        item,
    };
    EXPECT_EQ(h.findings, expected);
    EXPECT_TRUE(KeyExists(key + L"\\S\\T"));
    EXPECT_FALSE(FileExists(h.backup));
}

TEST(RegRemoval, ListModeStopsAndMissingKeysGiveNothing)
{
    const std::wstring key = TestRegKey();
    SetText(key, L"a", REG_SZ, std::wstring(L"1", 2));
    Harness h(6, TestDir() + L"u.reg");
    EXPECT_FALSE(h.remover.RemoveRegistryKey(kUser + key + L"\\Missing", true));
    EXPECT_FALSE(h.remover.RemoveRegistryKey(L"HKEY_NOWHERE\\" + key, true));
    EXPECT_FALSE(h.remover.RemoveRegistryKey(L"hkey_current_user\\" + key, true));
    h.stop = true;
    EXPECT_FALSE(h.remover.RemoveRegistryKey(kUser + key, true));
    EXPECT_FALSE(h.remover.RemoveRegistryValue(HKEY_CURRENT_USER, L"\\" + key, true, false, L"a"));
    EXPECT_TRUE(h.findings.empty());
}

TEST(RegRemoval, DeletingValueItemWritesItsBlockFirstAndKeepsTheKey)
{
    const std::wstring key = TestRegKey();
    SetText(key, L"a", REG_SZ, std::wstring(L"notepad \"x\"\\1", 14));
    SetText(key, L"", REG_SZ, std::wstring(L"dflt", 5));
    SetText(key, L"b", REG_SZ, std::wstring(L"keep", 5));
    Harness h(0, TestDir() + L"u.reg");
    const std::wstring item = kUser + key;

    EXPECT_TRUE(h.remover.RemoveRegistryKey(item + L"\\\\:\"a\"=notepad \\\"x\\\"\\\\1", false));
    h.remover.WriteReg(L"");
    EXPECT_TRUE(h.remover.RemoveRegistryKey(item + L"\\\\:@=dflt", false));
    h.remover.WriteReg(L"");
    EXPECT_TRUE(h.remover.PendingRegText().empty());

    EXPECT_FALSE(ValueExists(key, L"a"));
    EXPECT_FALSE(ValueExists(key, L""));
    EXPECT_TRUE(ValueExists(key, L"b"));
    const std::string keyLine = "[HKEY_CURRENT_USER\\" + Utf8(key) + "]\r\n";
    EXPECT_EQ(ReadFileBytes(h.backup), "Windows Registry Editor Version 5.00\r\n\r\n" + keyLine +
                                           "\"a\"=\"notepad \\\"x\\\"\\\\1\"\r\n\r\n" + keyLine + "@=\"dflt\"\r\n\r\n");

    // A value that is gone already: success, nothing written.
    const std::string before = ReadFileBytes(h.backup);
    EXPECT_TRUE(h.remover.RemoveRegistryKey(item + L"\\\\:\"a\"=x", false));
    EXPECT_EQ(ReadFileBytes(h.backup), before);
}

TEST(RegRemoval, StandAloneValueDeleteWritesKeyLineAndValue)
{
    const std::wstring key = TestRegKey();
    SetRaw(key, L"v", REG_BINARY, "\xAB\xCD", 2);
    Harness h(2, TestDir() + L"u.reg");
    EXPECT_TRUE(h.remover.RemoveRegistryValue(HKEY_CURRENT_USER, L"\\" + key, false, true, L"v"));
    EXPECT_FALSE(ValueExists(key, L"v"));
    EXPECT_EQ(ReadFileBytes(h.backup),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + Utf8(key) + "]\r\n\"v\"=hex:AB,CD\r\n\r\n");
    EXPECT_TRUE(h.remover.RemoveRegistryValue(HKEY_CURRENT_USER, L"\\" + key, false, true, L"v"));
}

TEST(RegRemoval, DeletingKeyItemBacksUpEverythingUnderIt)
{
    const std::wstring key = TestRegKey();
    SetText(key + L"\\K", L"a", REG_SZ, std::wstring(L"1", 2));
    CreateKey(key + L"\\K\\Empty");
    SetText(key + L"\\K\\Full", L"", REG_SZ, std::wstring(L"2", 2));
    CreateKey(key + L"\\Bare");
    Harness h(6, TestDir() + L"u.reg");

    EXPECT_TRUE(h.remover.RemoveRegistryKey(kUser + key + L"\\Bare", false));
    h.remover.WriteReg(L"");
    EXPECT_TRUE(h.remover.RemoveRegistryKey(kUser + key + L"\\K\\", false));
    h.remover.WriteReg(L"");

    EXPECT_FALSE(KeyExists(key + L"\\K"));
    EXPECT_FALSE(KeyExists(key + L"\\Bare"));
    EXPECT_TRUE(KeyExists(key));
    const std::string k = "[HKEY_CURRENT_USER\\" + Utf8(key);
    EXPECT_EQ(ReadFileBytes(h.backup), "Windows Registry Editor Version 5.00\r\n\r\n" + k + "\\Bare]\r\n\r\n" + k +
                                           "\\K]\r\n\"a\"=\"1\"\r\n\r\n" + k + "\\K\\Empty]\r\n\r\n" + k +
                                           "\\K\\Full]\r\n@=\"2\"\r\n\r\n");
    EXPECT_FALSE(h.remover.RemoveRegistryKey(kUser + key + L"\\K", false));
}

TEST(RegRemoval, NothingIsDeletedWhenTheBackupCannotBeWritten)
{
    const std::wstring key = TestRegKey();
    SetText(key, L"a", REG_SZ, std::wstring(L"1", 2));
    Harness h(6, TestDir() + L"u.reg");
    WriteFileBytes(h.backup, "REGEDIT4\r\n\r\n");
    SetFileAttributesW(h.backup.c_str(), FILE_ATTRIBUTE_READONLY);

    EXPECT_THROW(h.remover.RemoveRegistryKey(kUser + key + L"\\\\:\"a\"=1", false), platform::AppError);
    EXPECT_THROW(h.remover.RemoveRegistryKey(kUser + key, false), platform::AppError);
    EXPECT_TRUE(h.remover.PendingRegText().empty());
    SetFileAttributesW(h.backup.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(ValueExists(key, L"a"));
    EXPECT_EQ(ReadFileBytes(h.backup), "REGEDIT4\r\n\r\n");
}

TEST(RegRemoval, EntriesTheBackupCannotHoldStayAndAreCounted)
{
    const std::wstring key = TestRegKey();
    SetText(key, L"\uD55C", REG_SZ, std::wstring(L"x", 2));
    SetText(key, L"u", REG_SZ, std::wstring(L"\u00dc\uD55C", 3));
    SetText(key + L"\\E", L"e", REG_EXPAND_SZ, std::wstring(L"\uD55C", 2));
    Harness h(2, TestDir() + L"u.reg");

    EXPECT_FALSE(h.remover.RemoveRegistryValue(HKEY_CURRENT_USER, L"\\" + key, false, true, L"\uD55C"));
    EXPECT_FALSE(h.remover.RemoveRegistryKey(kUser + key + L"\\\\:\"u\"=x", false));
    EXPECT_FALSE(h.remover.RemoveRegistryKey(kUser + key + L"\\E", false));
    EXPECT_FALSE(h.remover.RemoveRegistryKey(L"HKEY_CURRENT_USER", false));
    EXPECT_FALSE(h.remover.RemoveRegistryKey(L"HKEY_CURRENT_USER\\", false));

    EXPECT_EQ(h.remover.NotDeletedCount(), 3);
    EXPECT_TRUE(ValueExists(key, L"\uD55C"));
    EXPECT_TRUE(ValueExists(key, L"u"));
    EXPECT_TRUE(ValueExists(key + L"\\E", L"e"));
    EXPECT_FALSE(FileExists(h.backup));
}

// Back up and delete, import the file with the registry editor, and find every name, type and
// byte as before: whole key at once, or finding by finding as the removal driver does.
TEST(RegRemoval, RegeditRestoresExactlyWhatWasDeleted)
{
    struct Case {
        const char* label;
        int osKind;
        bool byFindings;
    } cases[] = {{"version 5, whole key", 0, false},
                 {"version 5, by findings", 6, true},
                 {"REGEDIT4, whole key", 2, false},
                 {"REGEDIT4, by findings", 4, true}};
    const std::wstring dir = TestDir();
    const std::wstring base = TestRegKey();
    for (const Case& c : cases) {
        const std::wstring key = base + L"\\" + Wide(c.label);
        MakeFixtureTree(key);
        const Snapshot before = SnapshotOf(key);
        Harness h(c.osKind, dir + Wide(c.label) + L".reg");
        if (c.byFindings) {
            ASSERT_TRUE(h.remover.RemoveRegistryKey(kUser + key, true)) << c.label;
            for (const std::wstring& finding : h.findings) {
                EXPECT_TRUE(h.remover.RemoveRegistryKey(finding, false)) << c.label << ": " << Utf8(finding);
                h.remover.WriteReg(L"");
            }
        } else {
            EXPECT_TRUE(h.remover.RemoveRegistryKey(kUser + key, false)) << c.label;
            h.remover.WriteReg(L"");
        }
        EXPECT_EQ(h.remover.NotDeletedCount(), 0) << c.label;
        ASSERT_FALSE(KeyExists(key)) << c.label;

        ASSERT_TRUE(ImportWithRegedit(h.backup)) << c.label;
        const Snapshot after = SnapshotOf(key);
        EXPECT_EQ(after.size(), before.size()) << c.label;
        for (const auto& [path, values] : before) {
            ASSERT_TRUE(after.count(path)) << c.label << ": " << Utf8(path);
            for (const auto& [name, typed] : values) {
                auto found = after.at(path).find(name);
                ASSERT_NE(found, after.at(path).end()) << c.label << ": " << Utf8(name);
                EXPECT_EQ(found->second, typed) << c.label << ": " << Utf8(name);
            }
            EXPECT_EQ(after.at(path).size(), values.size()) << c.label << ": " << Utf8(path);
        }
    }
}
