#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/text.h"
#include "scan/catalogue.h"
#include "support/test_support.h"

using namespace scan;
using testing_support::Utf8;

TEST(Catalogue, GroupCaptionForms)
{
    struct Case {
        int index;
        int count;
        const wchar_t* ruleText;
        const wchar_t* caption;
    } cases[] = {
        {0, 3, L"", L".TMP 文件 (3 个问题) - 安全 (可以安全的移除这些项目, 一般不会出问题) - 临时文件"},
        // A rule text means nothing to a built-in category.
        {0, 1, L"log", L".TMP 文件 (1 个问题) - 安全 (可以安全的移除这些项目, 一般不会出问题) - 临时文件"},
        {24, 1, L"log", L"log 文件 (1 个问题) - 未知安全等级 - 用户自定义设置 1 (请查看帮助中的清洁设置)."},
        {24, 1, L"", L"未定义 (1 个问题) - 未知安全等级 - 用户自定义设置 1 (请查看帮助中的清洁设置)."},
        {33, 12, L"*.log", L"*.log 文件 (12 个问题) - 未知安全等级 - 用户自定义设置 10 (请查看帮助中的清洁设置)."},
        {12, 5, L"",
         L"旧文件 (1999) (5 个问题) - 基本安全 (移除这些项目可能会造成问题.  在移除前请检查每个项目) - "
         L"这些文件自从 1999 年后就没有被使用过 - 如果他们属于某个你不再使用的程序, 请先卸载该程序."},
        // Form B: no blank between the dash and the safety text.
        {40, 2, L"", L".??$ 文件 (2 个问题) -基本安全 (移除这些项目可能会造成问题.  在移除前请检查每个项目) - 临时文件"},
        {48, 1, L"", L".___ 文件 (1 个问题) -基本安全 (移除这些项目可能会造成问题.  在移除前请检查每个项目) - 临时文件"},
        // Form C: two blanks before the second dash.
        {71, 1, L"",
         L"在线服务文件 (1 个问题) - 绝对安全 (可以安全的移除这些项目, 绝对不会出问题)  - "
         L"目录中的所有文件 (这些文件是 Windows 自带的, 且往往是过时的)."},
        {82, 4, L"",
         L"注册表 - 运行记录 (4 个问题) - 绝对安全 (可以安全的移除这些项目, 绝对不会出问题)  - "
         L"记录 Windows Explorer 的 URL, 文件及历史的注册表条目."},
        {51, 1, L"", L".~$~ 文件 (1 个问题) - 安全 (可以安全的移除这些项目, 一般不会出问题) - 临时文件 (1st Reader)"},
        {78, 2, L"",
         L"注册表 - 菜单顺序 (2 个问题) - 安全 (可以安全的移除这些项目, 一般不会出问题) - "
         L"记录开始菜单和收藏夹中文件及文件夹排序方式的注册表条目."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GroupCaption(c.index, c.count, c.ruleText), c.caption) << "category " << c.index;
}

TEST(Catalogue, UserRulePrefixesShareGroupsByText)
{
    // ".TMP" gives the built-in prefix of category 0, so both use one group node.
    EXPECT_EQ(GroupCaptionPrefix(24, L".TMP"), GroupCaptionPrefix(0));
    EXPECT_EQ(GroupCaptionPrefix(25, L"log"), GroupCaptionPrefix(31, L"log"));
    EXPECT_EQ(GroupCaptionPrefix(26, L""), L"未定义 (");
    EXPECT_EQ(GroupCaptionPrefix(27, L""), GroupCaptionPrefix(30, L""));
}

TEST(Catalogue, BuiltInPrefixesIdentifyTheirCategory)
{
    // The removal driver finds a group's category by the prefix its caption begins with,
    // so no built-in prefix may begin another one (the old-file prefixes hold " (" twice).
    std::vector<std::pair<std::wstring, int>> prefixes;
    for (const TJunkCategory& category : Catalogue()) {
        if (IsUserRule(category.Index)) {
            EXPECT_EQ(category.GroupPrefix, nullptr);
            continue;
        }
        ASSERT_NE(category.GroupPrefix, nullptr) << category.Index;
        const std::wstring prefix = category.GroupPrefix;
        EXPECT_TRUE(prefix.ends_with(L" (")) << category.Index;
        prefixes.emplace_back(prefix, category.Index);
    }
    for (const auto& [a, i] : prefixes) {
        for (const auto& [b, j] : prefixes) {
            if (i != j) {
                EXPECT_FALSE(b.starts_with(a)) << "prefix of " << i << " begins that of " << j;
            }
        }
    }
}

TEST(Catalogue, CategoryTakenFollowsTheModeRule)
{
    // Columns: scan modes 0..3 as (disabled, enabled, enabled with RunInMainScan).
    // '-' never, 'x' taken.
    struct Case {
        int index;  // a category of the rule
        const char* modes[4];
    } cases[] = {
        {7, {"xxx", "xxx", "-xx", "---"}},   // mrAll
        {0, {"xxx", "---", "-xx", "---"}},   // mrCleanPC
        {22, {"---", "xxx", "-xx", "---"}},  // mrTracks
        {5, {"---", "---", "-xx", "---"}},   // mrCustom
        {72, {"--x", "xxx", "--x", "-xx"}},  // mrRegistry
    };
    for (const Case& c : cases) {
        for (int mode = 0; mode < 4; ++mode) {
            const char* expect = c.modes[mode];
            EXPECT_EQ(CategoryTaken(c.index, mode, false, true), expect[0] == 'x') << c.index << " mode " << mode;
            EXPECT_EQ(CategoryTaken(c.index, mode, true, false), expect[1] == 'x') << c.index << " mode " << mode;
            EXPECT_EQ(CategoryTaken(c.index, mode, true, true), expect[2] == 'x') << c.index << " mode " << mode;
        }
        EXPECT_FALSE(CategoryTaken(c.index, 4, true, true));
        EXPECT_FALSE(CategoryTaken(c.index, -1, true, true));
    }
    EXPECT_THROW(CategoryTaken(91, 0, true, true), std::out_of_range);
}

TEST(Catalogue, RecordsAndSettingsKeysAreConsistent)
{
    ASSERT_EQ(Catalogue().size(), 91u);
    std::set<std::wstring> keys;  // upper case: the settings file ignores letter case
    int hardDrivePairs = 0;
    for (size_t i = 0; i < Catalogue().size(); ++i) {
        const TJunkCategory& c = Catalogue()[i];
        EXPECT_EQ(c.Index, static_cast<int>(i));
        EXPECT_GE(c.SafetyLevel, 1);
        EXPECT_LE(c.SafetyLevel, IsUserRule(c.Index) ? 5 : 4) << i;
        EXPECT_EQ(c.SafetyLevel == 5, IsUserRule(c.Index)) << i;
        EXPECT_TRUE(keys.insert(platform::Upper(c.Setting.EnableKey)).second) << Utf8(c.Setting.EnableKey);
        const bool registry = IsRegistryCategory(c.Index);
        EXPECT_EQ(c.Section == TSettingsSection::RegClean, registry) << i;
        EXPECT_EQ(c.ModeRule == mrRegistry, registry) << i;
        EXPECT_EQ(c.Setting.MethodKey == nullptr, registry) << i;
        EXPECT_EQ(c.Setting.MethodBox == nullptr, registry) << i;
        if (!registry) {
            ++hardDrivePairs;
            EXPECT_EQ(std::wstring(c.Setting.MethodKey), std::wstring(c.Setting.EnableKey) + L"Action");
            EXPECT_GE(c.Setting.MethodDefault, 0);
            EXPECT_LE(c.Setting.MethodDefault, 2);
        }
        if (c.Source == TSourceKind::WalkFiles || c.Source == TSourceKind::WalkFolders) {
            EXPECT_FALSE(SourceMasks(c).empty()) << i;
        }
    }
    const TTickBoxSetting& stubborn = StubbornIndexDatSetting();
    EXPECT_TRUE(keys.insert(platform::Upper(stubborn.EnableKey)).second);
    EXPECT_EQ(std::wstring(stubborn.MethodKey), L"Stubbornindex.datAction");
    EXPECT_EQ(stubborn.MethodDefault, 0);
    EXPECT_FALSE(stubborn.EnableDefault);
    ++hardDrivePairs;
    // 68 categories with a tick box of their own, the stubborn index.dat box and the ten user rules.
    EXPECT_EQ(hardDrivePairs, 79);

    // Keys with wildcard and dollar characters are stored exactly as spelt.
    for (const wchar_t* key : {L"Start~", L"End$$$", L"End??~", L"End??$", L"End~*", L"End~$~", L"EndBK?",
                               L"EndDB$", L"End?~?", L"End0*.NCH", L"index.dat", L"desktop.ini", L"End---"}) {
        const TTickBoxSetting* found = FindTickBoxSetting(key);
        ASSERT_NE(found, nullptr) << Utf8(key);
        EXPECT_EQ(std::wstring(found->EnableKey), key);
    }
    EXPECT_EQ(FindTickBoxSetting(L"Harddrive"), nullptr);
    EXPECT_EQ(SourceMasks(Category(68)), (std::vector<std::wstring>{L"ffastun*.*", L"_ofidx*.*"}));
}

TEST(Catalogue, SettingsTabsShowEveryCategoryTickBoxOnce)
{
    const std::vector<std::wstring> captions = {L" 1 ", L" 2 ", L" 3 ", L" 4 ", L" 5 ", L"6", L"其它"};
    ASSERT_EQ(SettingsTabs().size(), captions.size());
    std::map<std::wstring, int> shown;
    for (size_t t = 0; t < captions.size(); ++t) {
        EXPECT_EQ(SettingsTabs()[t].Caption, captions[t]);
        for (const TSettingsRow& row : SettingsTabs()[t].Rows) {
            EXPECT_NE(FindTickBoxSetting(row.Key), nullptr) << Utf8(row.Key);
            ++shown[row.Key];
        }
    }
    // Every [HardDrive] tick box but the user rules' has one row; the rules have a tab of their own.
    std::map<std::wstring, int> expected = {{StubbornIndexDatSetting().EnableKey, 1}};
    for (const TJunkCategory& c : Catalogue())
        if (c.Section == TSettingsSection::HardDrive && !IsUserRule(c.Index))
            expected[c.Setting.EnableKey] = 1;
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(shown.size(), 69u);
}
