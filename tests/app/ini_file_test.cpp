#include <gtest/gtest.h>
#include <windows.h>

#include <climits>

#include "app/ini_file.h"
#include "platform/errors.h"
#include "support/test_support.h"

using namespace app;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::Wide;
using testing_support::WriteFileBytes;

TEST(IniFile, IntegerValues)
{
    struct Case {
        const wchar_t* text;
        std::optional<int> value;
    } cases[] = {
        {L"12", 12},           {L"-5", -5},          {L"+7", 7},
        {L"$1F", 31},          {L"0x1F", 31},        {L"0X1f", 31},
        {L"-$10", -16},        {L"$FFFFFFFF", -1},   {L"2147483647", 2147483647},
        {L"-2147483648", INT_MIN},
        {L"2147483648", {}},   {L"$100000000", {}},  {L"", {}},
        {L"$", {}},            {L"0x", {}},          {L"yes", {}},
        {L"12abc", {}},        {L"1 2", {}},         {L"0x1G", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseIniInteger(c.text), c.value) << Utf8(c.text);
}

TEST(IniFile, ReadsIgnoreCaseSpacesAndComments)
{
    const std::wstring path = TestDir() + L"read.ini";
    WriteFileBytes(path,
                   "; hand-edited\r\n"
                   "Orphan=1\r\n"
                   "  [ Harddrive ]  \r\n"
                   "  EndTMP  =  0  \r\n"
                   ";EndBAK=0\r\n"
                   "\r\n"
                   "Text = two words \r\n"
                   "Empty=\r\n"
                   "Bare\r\n"
                   "[Form]\r\n"
                   "Skin=$1F\r\n"
                   "[HARDDRIVE]\r\n"
                   "Late=5\r\n");
    const TMemIniFile mem(path);
    const TIniFile through(path);
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        int def;
        int value;
    } ints[] = {
        {L"HardDrive", L"endtmp", 9, 0},  {L"HardDrive", L"EndBAK", 9, 9},  // commented out
        {L"form", L"SKIN", 3, 31},        {L"HardDrive", L"Late", 0, 5},    // a repeated section joins the first
        {L"HardDrive", L"Orphan", 9, 9},  {L"HardDrive", L"Text", 9, 9},    // text is no number
    };
    for (const Case& c : ints) {
        EXPECT_EQ(mem.ReadInteger(c.section, c.key, c.def), c.value) << Utf8(c.key);
        EXPECT_EQ(through.ReadInteger(c.section, c.key, c.def), c.value) << Utf8(c.key);
    }
    EXPECT_EQ(mem.ReadString(L"HardDrive", L"Text", L"x"), L"two words");
    EXPECT_EQ(mem.ReadString(L"HardDrive", L"Empty", L"x"), L"");
    EXPECT_EQ(mem.ReadString(L"HardDrive", L"Missing", L"x"), L"x");
    EXPECT_EQ(through.ReadString(L"HardDrive", L"Text", L"x"), L"two words");
    EXPECT_EQ(mem.ReadSections(), (std::vector<std::wstring>{L"Harddrive", L"Form"}));
    EXPECT_EQ(mem.ReadSection(L"hardDRIVE"),
              (std::vector<std::wstring>{L"EndTMP", L"Text", L"Empty", L"Bare", L"Late"}));
    EXPECT_TRUE(mem.ValueExists(L"HardDrive", L"Bare"));
    EXPECT_FALSE(mem.ValueExists(L"Form", L"EndTMP"));
}

TEST(IniFile, BooleansAreReadAsIntegers)
{
    const std::wstring path = TestDir() + L"bool.ini";
    WriteFileBytes(path, "[S]\r\nTwo=2\r\nZero=0\r\nYes=yes\r\nEmpty=\r\nHex=$0\r\n");
    const TMemIniFile mem(path);
    struct Case {
        const wchar_t* key;
        bool whenDefaultFalse;
        bool whenDefaultTrue;
    } cases[] = {
        {L"Two", true, true}, {L"Zero", false, false}, {L"Yes", false, true},
        {L"Empty", false, true}, {L"Hex", false, false}, {L"Absent", false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mem.ReadBool(L"S", c.key, false), c.whenDefaultFalse) << Utf8(c.key);
        EXPECT_EQ(mem.ReadBool(L"S", c.key, true), c.whenDefaultTrue) << Utf8(c.key);
        EXPECT_EQ(TIniFile(path).ReadBool(L"S", c.key, true), c.whenDefaultTrue) << Utf8(c.key);
    }
}

TEST(IniFile, WholeFileSaveRewritesSectionsInFirstOrder)
{
    const std::wstring path = TestDir() + L"save.ini";
    WriteFileBytes(path,
                   "; comment\r\n"
                   "[AutoRun]\r\n"
                   "switch = 1\r\n"
                   "\r\n"
                   "[Harddrive]\r\n"
                   "EndTMP=1\r\n"
                   ";note\r\n"
                   "EndBAK=1\r\n"
                   "[autorun]\r\n"
                   "Year=2008\r\n");
    TMemIniFile ini(path);
    ini.WriteBool(L"HardDrive", L"endtmp", false);  // the writer's spelling of the key is kept
    ini.WriteString(L"Zeta", L"Text", L"");
    ini.WriteInteger(L"AutoRun", L"Freq", -1);
    ini.WriteString(L"HardDriveUser", Wide("用户"), Wide("C:\\临时\\"));
    ini.WriteString(L"Zeta", L"Multi", L"a\r\nb");  // a value cannot break its line
    ini.DeleteKey(L"HARDDRIVE", L"EndBAK");
    ini.Save();
    EXPECT_EQ(ReadFileBytes(path),
              "[AutoRun]\r\nswitch=1\r\nYear=2008\r\nFreq=-1\r\n\r\n"
              "[Harddrive]\r\nendtmp=0\r\n\r\n"
              "[Zeta]\r\nText=\r\nMulti=a  b\r\n\r\n"
              "[HardDriveUser]\r\n\xD3\xC3\xBB\xA7=C:\\\xC1\xD9\xCA\xB1\\\r\n\r\n");

    TMemIniFile again(path);
    again.EraseSection(L"zeta");
    again.Save();
    EXPECT_EQ(TMemIniFile(path).ReadSections(), (std::vector<std::wstring>{L"AutoRun", L"Harddrive", L"HardDriveUser"}));
    EXPECT_EQ(TMemIniFile(path).ReadString(L"HardDriveUser", Wide("用户"), L""), Wide("C:\\临时\\"));
}

TEST(IniFile, WriteThroughChangesOnlyTheLineConcerned)
{
    const std::wstring path = TestDir() + L"through.ini";
    const std::string before =
        "; kept\r\n"
        "[AutoRun]\r\n"
        "  Freq = 1 \r\n"
        "switch=0\r\n"
        "\r\n"
        "; between\r\n"
        "[Form]\r\n"
        "Skin=2\r\n";
    WriteFileBytes(path, before);
    TIniFile ini(path);
    ini.WriteInteger(L"autorun", L"freq", 3);
    EXPECT_EQ(ReadFileBytes(path),
              "; kept\r\n[AutoRun]\r\nfreq=3\r\nswitch=0\r\n\r\n; between\r\n[Form]\r\nSkin=2\r\n");
    ini.WriteInteger(L"AutoRun", L"Year", 2008);  // a new key follows the section's last key
    ini.WriteBool(L"Sound", L"On", true);          // a new section goes to the end
    EXPECT_EQ(ReadFileBytes(path),
              "; kept\r\n[AutoRun]\r\nfreq=3\r\nswitch=0\r\nYear=2008\r\n\r\n; between\r\n[Form]\r\nSkin=2\r\n"
              "\r\n[Sound]\r\nOn=1\r\n\r\n");
    // Each read looks at the file as it is now.
    WriteFileBytes(path, "[AutoRun]\r\nswitch=1\r\n");
    EXPECT_TRUE(ini.ReadBool(L"AutoRun", L"switch", false));
}

TEST(IniFile, WriteThroughCreatesAMissingFile)
{
    const std::wstring path = TestDir() + L"new.ini";
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger(L"AutoRun", L"Freq", 4), 4);
    ini.WriteBool(L"AutoRun", L"switch", false);
    EXPECT_EQ(ReadFileBytes(path), "[AutoRun]\r\nswitch=0\r\n\r\n");
}

TEST(IniFile, SaveFailureRaisesAClearErrorAndKeepsTheCopy)
{
    const std::wstring dir = TestDir();
    const std::wstring path = dir + L"locked.ini";
    WriteFileBytes(path, "[Sound]\r\nOn=0\r\n");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    TMemIniFile ini(path);
    ini.WriteBool(L"Sound", L"On", true);
    try {
        ini.Save();
        ADD_FAILURE() << "saving a read-only file succeeded";
    } catch (const platform::AppError& error) {
        EXPECT_EQ(error.message().rfind(L"无法创建文件 \"" + path + L"\"", 0), 0u) << Utf8(error.message());
    }
    EXPECT_THROW(TIniFile(path).WriteBool(L"Sound", L"On", true), platform::AppError);
    EXPECT_EQ(ReadFileBytes(path), "[Sound]\r\nOn=0\r\n");
    EXPECT_TRUE(ini.ReadBool(L"Sound", L"On", false));

    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ini.Save();
    EXPECT_EQ(ReadFileBytes(path), "[Sound]\r\nOn=1\r\n\r\n");

    EXPECT_THROW(TMemIniFile(dir + L"no\\such\\folder.ini").Save(), platform::AppError);
}

TEST(IniFile, FileThatCannotBeReadIsNotTakenForEmpty)
{
    const std::wstring path = TestDir() + L"busy.ini";
    WriteFileBytes(path, "[Sound]\r\nOn=1\r\n");
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    EXPECT_THROW(TMemIniFile{path}, platform::AppError);
    EXPECT_THROW(TIniFile(path).WriteBool(L"Sound", L"On", false), platform::AppError);
    EXPECT_TRUE(TIniFile(path).ReadBool(L"Sound", L"Missing", true));
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(path), "[Sound]\r\nOn=1\r\n");
}
