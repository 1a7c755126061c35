#include <gtest/gtest.h>

#include "registry/reg_format.h"
#include "registry/reg_protected.h"
#include "registry/reg_removal.h"
#include "registry/reg_roots.h"
#include "support/test_support.h"

using namespace registry;
using testing_support::Utf8;
using testing_support::Wide;

namespace {

RegValue Value(DWORD type, const std::vector<BYTE>& data) { return RegValue{type, data}; }

RegValue WideValue(DWORD type, const std::wstring& textWithNulls)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(textWithNulls.data());
    return RegValue{type, std::vector<BYTE>(bytes, bytes + textWithNulls.size() * sizeof(wchar_t))};
}

std::vector<BYTE> Counting(size_t count)
{
    std::vector<BYTE> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<BYTE>(i * 17);
    return bytes;
}

}  // namespace

TEST(RegFormat, ConvertStEscapesQuoteBackslashCrLf)
{
    EXPECT_EQ(ConvertSt(L"a\\b\"c\rd\ne\tf"), L"a\\\\b\\\"c\\rd\\ne\tf");
    EXPECT_EQ(ConvertSt(Wide("C:\\文件\\")), Wide("C:\\\\文件\\\\"));
    EXPECT_EQ(ConvertSt(L""), L"");
}

TEST(RegFormat, RootStToRootRecognisesRootsInAnyCase)
{
    struct Case {
        const wchar_t* path;
        HKEY root;
        const wchar_t* rootName;
        const wchar_t* rest;
    } cases[] = {
        {L"HKEY_CURRENT_USER\\Software\\A", HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", L"\\Software\\A"},
        {L"hkey_local_machine\\SOFTWARE", HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", L"\\SOFTWARE"},
        {L"HKEY_USERS\\.Default", HKEY_USERS, L"HKEY_USERS", L"\\.Default"},
        {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT", L""},
        {L"HKEY_CURRENT_CONFIG\\X", HKEY_CURRENT_CONFIG, L"HKEY_CURRENT_CONFIG", L"\\X"},
        {L"HKEY_DYN_DATA\\X", HKEY_DYN_DATA, L"HKEY_DYN_DATA", L"\\X"},
        {L"HKEY_USERSX\\Y", nullptr, L"", L"HKEY_USERSX\\Y"},
        {L"HKCU\\Software", nullptr, L"", L"HKCU\\Software"},
        {L"C:\\HKEY_USERS", nullptr, L"", L"C:\\HKEY_USERS"},
    };
    for (const Case& c : cases) {
        std::wstring path = c.path;
        std::wstring rootName;
        EXPECT_EQ(RootStToRoot(path, rootName), c.root) << Utf8(c.path);
        EXPECT_EQ(rootName, c.rootName) << Utf8(c.path);
        EXPECT_EQ(path, c.rest) << Utf8(c.path);
    }
}

TEST(RegFormat, HeaderFollowsOSKind)
{
    for (int kind = 0; kind <= 8; ++kind) {
        const bool old = kind >= 1 && kind <= 4;
        EXPECT_EQ(HeaderLine(FormatForOSKind(kind)), old ? L"REGEDIT4" : L"Windows Registry Editor Version 5.00")
            << kind;
    }
}

TEST(RegFormat, BinaryLinesBreakPast75Characters)
{
    // "a"=hex: is 8 characters; the 23rd byte takes the line to 77.
    const auto lines = BackupValueLines(L"a", Value(REG_BINARY, Counting(30)));
    ASSERT_TRUE(lines.has_value());
    const std::vector<std::wstring> expected = {
        L"\"a\"=hex:00,11,22,33,44,55,66,77,88,99,AA,BB,CC,DD,EE,FF,10,21,32,43,54,65,76,\\",
        L"87,98,A9,BA,CB,DC,ED",
        L"",
    };
    EXPECT_EQ(*lines, expected);

    // Continuation lines count from their own start: 26 bytes (78 characters) each.
    const auto longer = HexLines(L"@=hex:", Counting(80));
    ASSERT_EQ(longer.size(), 5u);
    EXPECT_EQ(longer[1].size(), 79u);
    EXPECT_EQ(longer[1].substr(longer[1].size() - 2), L",\\");
    EXPECT_EQ(longer[2].size(), 79u);
    EXPECT_EQ(longer[3], L"0C,1D,2E,3F");
    EXPECT_EQ(longer[4], L"");

    EXPECT_EQ(HexLines(L"\"e\"=hex:", {}), (std::vector<std::wstring>{L"\"e\"=hex:", L""}));
}

TEST(RegFormat, BackupLinesOfEveryType)
{
    struct Case {
        const char* label;
        std::wstring name;
        RegValue value;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"string", L"a", WideValue(REG_SZ, std::wstring(L"C:\\x.exe", 9)), {L"\"a\"=\"C:\\\\x.exe\""}},
        {"escapes", L"s", WideValue(REG_SZ, std::wstring(L"1\r\n\"2\"\\", 8)), {L"\"s\"=\"1\\r\\n\\\"2\\\"\\\\\""}},
        {"default value", L"", WideValue(REG_SZ, std::wstring(L"d", 2)), {L"@=\"d\""}},
        {"name escaped", L"a\\b\"c", WideValue(REG_SZ, std::wstring(L"", 1)), {L"\"a\\\\b\\\"c\"=\"\""}},
        {"negative number", L"n", Value(REG_DWORD, {0x85, 0xFF, 0xFF, 0xFF}), {L"\"n\"=dword:ffffff85"}},
        {"expandable", L"e", WideValue(REG_EXPAND_SZ, Wide("%A%文") + L'\0'),
         {L"\"e\"=hex(2):25,41,25,CE,C4,00", L""}},
        {"multi-string", L"m", WideValue(REG_MULTI_SZ, std::wstring(L"x\0y\0", 5)), {L"\"m\"=hex(7):78,00,79,00,00", L""}},
        {"string without terminator", L"t", Value(REG_SZ, {0x41, 0x00}), {L"\"t\"=hex(1):41", L""}},
        {"short number", L"n", Value(REG_DWORD, {1, 2}), {L"\"n\"=hex(4):01,02", L""}},
        {"64-bit number", L"q", Value(REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0x80}),
         {L"\"q\"=hex(b):01,00,00,00,00,00,00,80", L""}},
        {"none", L"z", Value(REG_NONE, {}), {L"\"z\"=hex(0):", L""}},
    };
    for (const Case& c : cases) {
        auto lines = BackupValueLines(c.name, c.value);
        ASSERT_TRUE(lines.has_value()) << c.label;
        EXPECT_EQ(*lines, c.lines) << c.label;
    }
}

TEST(RegFormat, ValuesTheFileCannotCarryAreRefused)
{
    // Names and string data outside code page 936, and string data of an odd byte count.
    EXPECT_FALSE(BackupValueLines(L"\uD55C", WideValue(REG_SZ, std::wstring(L"x", 2))));
    EXPECT_FALSE(BackupValueLines(L"s", WideValue(REG_SZ, std::wstring(L"\u00dc", 2))));
    EXPECT_FALSE(BackupValueLines(L"e", WideValue(REG_EXPAND_SZ, std::wstring(L"\uD55C", 2))));
    EXPECT_FALSE(BackupValueLines(L"m", Value(REG_MULTI_SZ, {0x41})));
}

TEST(RegFormat, ShownDataByType)
{
    EXPECT_EQ(ShownData(WideValue(REG_SZ, std::wstring(L"a\"b\n", 5))), L"a\\\"b\\n");
    EXPECT_EQ(ShownData(WideValue(REG_EXPAND_SZ, std::wstring(L"%T%", 4))), L"%T%");
    EXPECT_EQ(ShownData(WideValue(REG_MULTI_SZ, std::wstring(L"first\0second\0", 14))), L"first");
    EXPECT_EQ(ShownData(Value(REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF})), L"-2");
    EXPECT_EQ(ShownData(Value(REG_BINARY, {1, 2})), Wide("( 二进制数据 )"));
    EXPECT_EQ(ShownData(Value(REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0})), Wide("( 二进制数据 )"));
}

TEST(RegFormat, ValueNameOfItemPart)
{
    struct Case {
        const wchar_t* part;
        const wchar_t* name;
    } cases[] = {
        {L"\"a\"=C:\\x.exe", L"a"},
        {L"@=default", L""},
        {L"@", L""},
        {L"\"a=b\"=data=more", L"a=b"},
        {L"\"say \"\"hi\"\"\"=x", L"say \"hi\""},
        {L"\"noData\"", L"noData"},
        {L"bare=1", L"bare"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueNameOfItemPart(c.part), c.name) << Utf8(c.part);
}

TEST(RegProtected, ProtectedAndUnlistedEntries)
{
    const std::wstring office = L"\\CLSID\\{da1e5a8e-1a89-11d2-95c9-00a0c90dca5b}";
    const std::wstring machine = L"\\SOFTWARE\\Classes\\CLSID\\{DA1E5A8E-1A89-11D2-95C9-00A0C90DCA5B}";
    EXPECT_TRUE(IsProtectedValue(HKEY_CLASSES_ROOT, office, L"Office7"));
    EXPECT_FALSE(IsProtectedValue(HKEY_CLASSES_ROOT, office, L"Office8"));
    EXPECT_FALSE(IsProtectedValue(HKEY_CURRENT_USER, office, L"Office7"));

    EXPECT_TRUE(IsProtectedKey(HKEY_LOCAL_MACHINE, machine));
    EXPECT_FALSE(IsProtectedKey(HKEY_LOCAL_MACHINE, machine + L"\\InprocServer32"));
    EXPECT_FALSE(IsProtectedKey(HKEY_CLASSES_ROOT, machine));

    // A whole-key delete must not take a protected entry with it.
    struct Case {
        HKEY root;
        const wchar_t* path;
        bool holds;
    } cases[] = {
        {HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\CLSID\\{DA1E5A8E-1A89-11D2-95C9-00A0C90DCA5B}", true},
        {HKEY_LOCAL_MACHINE, L"\\software\\classes", true},
        {HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Classes\\CLSID\\{DA1E5A8E-1A89-11D2-95C9-00A0C90DCA5B}\\Sub", false},
        {HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Class", false},
        {HKEY_CLASSES_ROOT, L"\\CLSID", true},
        {HKEY_CLASSES_ROOT, L"\\CLSIDX", false},
        {HKEY_CURRENT_USER, L"\\Software", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HoldsProtectedEntry(c.root, c.path), c.holds) << Utf8(c.path);

    EXPECT_TRUE(IsUnlistedKey(HKEY_CURRENT_USER, L"\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\spw"));
    EXPECT_FALSE(IsUnlistedKey(HKEY_CURRENT_USER, L"\\Software\\Microsoft\\Internet Explorer\\IntelliForms\\SPW\\x"));
}
