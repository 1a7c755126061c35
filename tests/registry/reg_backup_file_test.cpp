#include <gtest/gtest.h>
#include <windows.h>

#include "platform/errors.h"
#include "registry/reg_backup_file.h"
#include "support/test_support.h"

using namespace registry;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Wide;
using testing_support::WriteFileBytes;

TEST(RegBackupFile, NewFileGetsHeaderOfOSKindAndEmptyLine)
{
    const std::wstring dir = TestDir();
    struct Case {
        int osKind;
        const char* header;
    } cases[] = {{0, "Windows Registry Editor Version 5.00"}, {2, "REGEDIT4"}, {4, "REGEDIT4"},
                 {6, "Windows Registry Editor Version 5.00"}, {8, "Windows Registry Editor Version 5.00"}};
    for (const Case& c : cases) {
        const std::wstring path = dir + std::to_wstring(c.osKind) + L".reg";
        WriteReg(path, c.osKind, L"\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"1\"");
        WriteReg(path, c.osKind, L"");
        EXPECT_EQ(ReadFileBytes(path), std::string(c.header) + "\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\"=\"1\"\r\n\r\n")
            << c.osKind;
    }
}

TEST(RegBackupFile, ValidHeaderInAnyCaseIsAppendedToOtherFirstLinesReplaced)
{
    const std::wstring dir = TestDir();
    struct Case {
        const char* label;
        std::string before;
        std::string after;
        const char* keptAside;
    } cases[] = {
        {"lower-case REGEDIT4", "regedit4\r\n\r\n[K]\r\n", "regedit4\r\n\r\n[K]\r\nnew\r\n", nullptr},
        {"version 5 in upper case", "WINDOWS REGISTRY EDITOR VERSION 5.00\r\n",
         "WINDOWS REGISTRY EDITOR VERSION 5.00\r\nnew\r\n", nullptr},
        {"empty file", "", "REGEDIT4\r\n\r\nnew\r\n", nullptr},
        {"other first line", "REGEDIT5\r\n[K]\r\n", "REGEDIT4\r\n\r\nnew\r\n", "REGEDIT5\r\n[K]\r\n"},
        {"header after a blank line", "\r\nREGEDIT4\r\n", "REGEDIT4\r\n\r\nnew\r\n", "\r\nREGEDIT4\r\n"},
    };
    for (const Case& c : cases) {
        const std::wstring path = dir + Wide(c.label) + L".reg";
        WriteFileBytes(path, c.before);
        WriteReg(path, 3, L"new");
        EXPECT_EQ(ReadFileBytes(path), c.after) << c.label;
        if (c.keptAside)
            EXPECT_EQ(ReadFileBytes(path + L".old"), c.keptAside) << c.label;
        else
            EXPECT_FALSE(FileExists(path + L".old")) << c.label;
    }
}

TEST(RegBackupFile, ChineseTextIsWrittenInCodePage936)
{
    const std::wstring path = TestDir() + L"cn.reg";
    WriteReg(path, 6, Wide("\"撤销\"=\"\""));
    EXPECT_EQ(ReadFileBytes(path), "Windows Registry Editor Version 5.00\r\n\r\n\"\xB3\xB7\xCF\xFA\"=\"\"\r\n");
}

TEST(RegBackupFile, ReadOnlyFileGivesClearErrorAndStaysUnchanged)
{
    const std::wstring dir = TestDir();
    for (const char* before : {"REGEDIT4\r\n\r\n", ""}) {
        const std::wstring path = dir + (before[0] ? L"valid.reg" : L"empty.reg");
        WriteFileBytes(path, before);
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        try {
            WriteReg(path, 2, L"[K]");
            ADD_FAILURE() << "no error for a read-only file";
        } catch (const platform::AppError& error) {
            EXPECT_NE(error.message().find(Wide("无法写入注册表备份文件")), std::wstring::npos);
            EXPECT_NE(error.message().find(path), std::wstring::npos);
        }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        EXPECT_EQ(ReadFileBytes(path), before);
    }
}
