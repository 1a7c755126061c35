#include <gtest/gtest.h>

#include "scan/mask.h"
#include "support/test_support.h"

using testing_support::Wide;

TEST(MaskMatches, Table)
{
    struct Case {
        const char* name;
        const char* mask;
        bool matches;
    } cases[] = {
        {"a.tmp", "*.tmp", true},
        {"A.TMP", "*.tmp", true},
        {".tmp", "*.tmp", true},
        {"a.tmp.txt", "*.tmp", false},
        {"a.tm", "*.tmp", false},
        {"~$doc.docx", "~*", true},
        {"x~", "~*", false},
        {"file0001.chk", "file*.chk", true},
        {"report.bk1", "*.bk?", true},
        {"report.bk", "*.bk?", false},
        {"report.bk12", "*.bk?", false},
        {"a.~$~", "*.~$~", true},
        {"a.x$y", "*.?$?", true},
        {"0abc.nch", "0*.nch", true},
        {"1abc.nch", "0*.nch", false},
        {"复件 预算.xls", "复件 *", true},
        {"复件预算.xls", "复件 *", false},
        {"备份文件.doc", "备份*", true},
        {"已删除项目 1.dbx", "已删除项目 *.dbx", true},
        {"OUTLOOK 2000 SETUP", "OUTLOOK * SETUP", true},
        {"abab", "*ab", true},
        {"aaa", "a*a*a", true},
        {"aa", "a*a*a", false},
        {"b.txt", "[abc].txt", true},
        {"B.TXT", "[abc].txt", true},
        {"d.txt", "[abc].txt", false},
        {"q.txt", "[a-z].txt", true},
        {"1.txt", "[a-z].txt", false},
        {"d.txt", "[!abc].txt", true},
        {"a.txt", "[!abc].txt", false},
        {"anything", "*", true},
        {"", "*", true},
        {"", "?", false},
        {"a[1].txt", "a[1].txt", false},
        {"a1.txt", "a[1].txt", true},
        {"a.txt", "a[.txt", false},
        {"a].txt", "a].txt", false},
        {"a.txt", "[].txt", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scan::MaskMatches(Wide(c.name), Wide(c.mask)), c.matches) << c.name << " ~ " << c.mask;
}

TEST(MaskMatches, UnparsableMaskIsInvalid)
{
    EXPECT_FALSE(scan::TMask(L"a[b").Valid());
    EXPECT_FALSE(scan::TMask(L"[z-a]").Valid());
    EXPECT_TRUE(scan::TMask(L"*.[!a-c]x?").Valid());
}
