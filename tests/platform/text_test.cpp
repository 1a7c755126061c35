#include <gtest/gtest.h>
#include <windows.h>

#include "platform/path_util.h"
#include "platform/text.h"
#include "support/test_support.h"

using namespace platform;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Wide;

TEST(Text, SystemCodePageIs936) { EXPECT_EQ(GetACP(), 936u); }

TEST(Text, CodePage936RoundTripAndLineEnds)
{
    const std::wstring dir = TestDir();
    const std::wstring path = dir + L"lines.txt";
    const std::vector<std::wstring> lines = {Wide("[撤销]"), L"", Wide("C:\\临时\\a.tmp")};
    WriteTextLinesAtomic(path, lines);
    // "撤销" in code page 936 is B3 B7 CF FA.
    EXPECT_EQ(ReadFileBytes(path), "[\xB3\xB7\xCF\xFA]\r\n\r\nC:\\\xC1\xD9\xCA\xB1\\a.tmp\r\n");
    auto back = ReadTextLines(path);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, lines);
    EXPECT_FALSE(ReadTextLines(dir + L"missing.txt").has_value());
}

TEST(Text, FitsAnsiTellsUnrepresentableNames)
{
    EXPECT_TRUE(FitsAnsi(Wide("C:\\文件\\a.txt")));
    EXPECT_FALSE(FitsAnsi(Wide("C:\\Ünïcødé\\ㄱ한글.txt")));
    EXPECT_EQ(ToAnsi(Wide("a한")), "a?");
}

TEST(Text, AtomicWriteFailsOnReadOnlyTargetAndKeepsIt)
{
    const std::wstring path = TestDir() + L"keep.ini";
    WriteTextLinesAtomic(path, {L"old"});
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(WriteTextLinesAtomic(path, {L"new"}), std::system_error);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(path), "old\r\n");
}

TEST(PathUtil, CheckPathAndRemoveSlash)
{
    struct Case {
        const wchar_t* in;
        const wchar_t* checked;
        const wchar_t* removed;
    } cases[] = {
        {L"", L"", L""},
        {L"C:", L"C:\\", L"C:"},
        {L"C:\\", L"C:\\", L"C:"},
        {L"C:\\Temp", L"C:\\Temp\\", L"C:\\Temp"},
        {L"C:\\Temp\\\\", L"C:\\Temp\\\\", L"C:\\Temp\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckPath(c.in), c.checked) << testing_support::Utf8(c.in);
        EXPECT_EQ(RemoveSlash(c.in), c.removed) << testing_support::Utf8(c.in);
    }
}
