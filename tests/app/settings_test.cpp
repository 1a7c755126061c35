#include <gtest/gtest.h>
#include <windows.h>

#include <functional>

#include "app/settings.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "support/test_support.h"

using namespace app;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TestDir;
using testing_support::Utf8;
using testing_support::WriteFileBytes;

namespace {

std::string Line(const std::wstring& key, const std::wstring& value) { return Utf8(key + L"=" + value) + "\r\n"; }

// The file a first start leaves behind: every key WriteSettings owns, with its default.
std::string FirstStartFile()
{
    std::string hardDrive;
    std::string user;
    for (const scan::TJunkCategory& c : scan::Catalogue()) {
        if (c.Section != scan::TSettingsSection::HardDrive)
            continue;
        hardDrive += Line(c.Setting.EnableKey, c.Setting.EnableDefault ? L"1" : L"0");
        hardDrive += Line(c.Setting.MethodKey, std::to_wstring(c.Setting.MethodDefault));
        if (c.Index == 69)
            hardDrive += "Stubbornindex.dat=0\r\nStubbornindex.datAction=0\r\n";
        if (scan::IsUserRule(c.Index)) {
            const std::string n = std::to_string(c.Index - 24);
            user += "UserDefined" + n + "Index=0\r\nUserDefined" + n + "Text=\r\n";
        }
    }
    std::string regClean;
    for (const char* key : {"RunHistory", "OpenSave", "Doc", "OpenWith", "Search", "FindComp", "MenuOrder",
                            "NetAddress", "NetPass", "NetAutoComplete", "UserAssist", "MSPaint", "MediaPlay"})
        regClean += std::string(key) + "=0\r\n";
    return "[QuorsComputerTips]\r\nPromptForEmail=1\r\n\r\n"
           "[Form]\r\nSkin=3\r\n\r\n"
           "[DuplicateFiles]\r\nRequireSameName=0\r\nRequireSameSize=1\r\nRequireSameDate=1\r\n"
           "TreatDisketteAsMaster=1\r\nSkipDesktopFolders=1\r\nSkipSysbckup=1\r\nSkipEmptyFiles=1\r\n"
           "CompareAll=1\r\nCompareOnlyText=\r\nSkipFolder=\r\nRootDir=\r\n\r\n"
           "[HardDrive]\r\n" + hardDrive + "RunInMainScan=0\r\nUseTimeBuffer=1\r\nUseNoRemainsDeletion=0\r\n\r\n"
           "[HardDriveUser]\r\n" + user + "\r\n"
           "[Sound]\r\nOn=0\r\n\r\n"
           "[RegClean]\r\n" + regClean + "\r\n"
           "[AutoRun]\r\nClose=0\r\nShutDown=0\r\nSkipWindowsDefenderinVista=0\r\nFreq=4\r\nType=0\r\n\r\n"
           "[DrivesSelected]\r\nC:\\=1\r\nD:\\=0\r\n\r\n";
}

int CountLines(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

}  // namespace

TEST(Settings, FirstStartCreatesTheFileAndStoresEveryKey)
{
    const std::wstring path = TestDir() + L"Trimdex.ini";
    TSettings settings;
    ReadSettings(settings, path);
    ASSERT_TRUE(FileExists(path));
    EXPECT_EQ(ReadFileBytes(path), "");

    settings.Drives = {{L"c:\\", true}, {L"D:\\", false}};
    WriteSettings(settings, path);
    const std::string file = ReadFileBytes(path);
    EXPECT_EQ(file, FirstStartFile());
    // 79 tick box pairs in [HardDrive], the ten user rules and the stubborn index.dat among them.
    EXPECT_EQ(CountLines(file, "Action="), 79);
}

TEST(Settings, FileValuesReachTheModel)
{
    struct Case {
        const char* name;
        const char* file;
        std::function<void(const TSettings&)> check;
    } cases[] = {
        {"section name in other letter case", "[Harddrive]\r\nEndTMP=0\r\nEndTMPAction=2\r\nEnd??$=1\r\n",
         [](const TSettings& s) {
             EXPECT_FALSE(s.Categories[0].Enabled);
             EXPECT_EQ(s.Categories[0].Method, 2);
             EXPECT_TRUE(s.Categories[40].Enabled);
         }},
        {"Boolean 2 is true, yes is the default", "[Sound]\r\nOn=2\r\n[HardDrive]\r\nUseTimeBuffer=yes\r\n"
                                                  "[RegClean]\r\nRunHistory=yes\r\nMediaPlay=1\r\n",
         [](const TSettings& s) {
             EXPECT_TRUE(s.SoundOn);
             EXPECT_TRUE(s.UseTimeBuffer);
             EXPECT_FALSE(s.Categories[72].Enabled);
             EXPECT_TRUE(s.Categories[84].Enabled);
         }},
        {"hexadecimal integers", "[AutoRun]\r\nFreq=$1F\r\nType=0x1F\r\n[Form]\r\nSkin=0x2\r\n",
         [](const TSettings& s) {
             EXPECT_EQ(s.AutoRun.Freq, 31);
             EXPECT_EQ(s.AutoRun.Type, 31);
             EXPECT_EQ(s.Skin, 2);
         }},
        {"indices outside the items choose none",
         "[HardDrive]\r\nEndBAKAction=7\r\nEndGIDAction=abc\r\nStubbornindex.datAction=-1\r\n"
         "[HardDriveUser]\r\nUserDefined3Index=5\r\nUserDefined3Text=*.log\r\n[Form]\r\nSkin=9\r\n",
         [](const TSettings& s) {
             EXPECT_EQ(s.Categories[1].Method, kNoItem);
             EXPECT_EQ(s.Categories[3].Method, 0);  // not a number: the default
             EXPECT_EQ(s.StubbornIndexDat.Method, kNoItem);
             EXPECT_EQ(s.UserRules[3].Kind, kNoItem);
             EXPECT_EQ(s.UserRules[3].Text, L"*.log");
             EXPECT_EQ(s.Skin, 3);
         }},
        {"stubborn index.dat enables category 69", "[HardDrive]\r\nindex.dat=0\r\nStubbornindex.dat=1\r\n",
         [](const TSettings& s) {
             EXPECT_FALSE(s.Categories[69].Enabled);
             EXPECT_TRUE(CategoryEnabled(s, 69));
         }},
        {"skipped folders keep file order; a value is ignored",
         "[SkipFolders]\r\nC:\\Tmp\\=1\r\nC:\\Data\\Keep\\=\r\n",
         [](const TSettings& s) {
             EXPECT_EQ(s.SkipFolders, (std::vector<std::wstring>{L"C:\\Tmp\\", L"C:\\Data\\Keep\\"}));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = TestDir() + L"Trimdex.ini";
        WriteFileBytes(path, c.file);
        TSettings settings;
        ReadSettings(settings, path);
        c.check(settings);
    }
}

TEST(Settings, WriteSettingsKeepsWhatItDoesNotOwn)
{
    const std::wstring path = TestDir() + L"Trimdex.ini";
    WriteFileBytes(path,
                   "; written by hand\r\n"
                   "[AutoRun]\r\nswitch=1\r\nFreq=7\r\nType=5\r\nYear=2008\r\n\r\n"
                   "[SkipFolders]\r\nC:\\Tmp\\=1\r\n"
                   "[HardDrive]\r\nEndBAKAction=7\r\n");
    TSettings settings;
    ReadSettings(settings, path);
    EXPECT_EQ(settings.AutoRun.Freq, 7);
    WriteSettings(settings, path);

    const std::string file = ReadFileBytes(path);
    EXPECT_EQ(file.find("written by hand"), std::string::npos);
    EXPECT_EQ(file.rfind("[AutoRun]\r\nswitch=1\r\nFreq=7\r\nType=5\r\nYear=2008\r\nClose=0\r\n", 0), 0u);
    EXPECT_NE(file.find("\r\n\r\n[SkipFolders]\r\nC:\\Tmp\\=1\r\n\r\n[HardDrive]\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nEndBAKAction=-1\r\n"), std::string::npos);

    // A menu choice is written over the stored value.
    settings.AutoRun.Freq = 0;
    WriteSettings(settings, path);
    TSettings again;
    ReadSettings(again, path);
    EXPECT_EQ(again.AutoRun.Freq, 0);
    EXPECT_EQ(again.AutoRun.Type, 5);
    EXPECT_EQ(again.Categories[1].Method, kNoItem);
}

TEST(Settings, SkippedFoldersAreStoredAtOnce)
{
    const std::wstring path = TestDir() + L"Trimdex.ini";
    WriteFileBytes(path, "[SkipFolders]\r\nC:\\Tmp\\=1\r\n[Sound]\r\nOn=1\r\n");
    TSettings settings;
    ReadSettings(settings, path);

    AddSkipFolder(settings, path, L"C:\\Data\\Keep");
    AddSkipFolder(settings, path, L"C:\\Data\\Keep\\");
    EXPECT_EQ(settings.SkipFolders,
              (std::vector<std::wstring>{L"C:\\Tmp\\", L"C:\\Data\\Keep\\", L"C:\\Data\\Keep\\"}));
    EXPECT_EQ(ReadFileBytes(path), "[SkipFolders]\r\nC:\\Tmp\\=1\r\nC:\\Data\\Keep\\=\r\n\r\n[Sound]\r\nOn=1\r\n\r\n");

    // Removing one of the doubled entries rewrites the section from the list; the value goes.
    RemoveSkipFolders(settings, path, {1});
    EXPECT_EQ(settings.SkipFolders, (std::vector<std::wstring>{L"C:\\Tmp\\", L"C:\\Data\\Keep\\"}));
    EXPECT_EQ(ReadFileBytes(path), "[Sound]\r\nOn=1\r\n\r\n[SkipFolders]\r\nC:\\Tmp\\=\r\nC:\\Data\\Keep\\=\r\n\r\n");

    // A folder whose name holds '=' comes back whole.
    AddSkipFolder(settings, path, L"C:\\a=b");
    TSettings again;
    ReadSettings(again, path);
    EXPECT_EQ(again.SkipFolders, (std::vector<std::wstring>{L"C:\\Tmp\\", L"C:\\Data\\Keep\\", L"C:\\a=b\\"}));
}

TEST(Settings, ResetRestoresCategoryDefaultsOnly)
{
    const std::wstring path = TestDir() + L"Trimdex.ini";
    WriteFileBytes(path,
                   "[HardDrive]\r\nEndTMP=0\r\nEndTMPAction=2\r\nUserDefined0=1\r\nUserDefined0Action=0\r\n"
                   "UseTimeBuffer=0\r\nStubbornindex.dat=1\r\n"
                   "[HardDriveUser]\r\nUserDefined0Index=3\r\nUserDefined0Text=C:\\x\\\r\n"
                   "[RegClean]\r\nRunHistory=1\r\n");
    TSettings settings;
    ReadSettings(settings, path);
    settings.Categories[73].Enabled = true;  // changed on a page, never saved
    ResetCategoryDefaults(settings, path);

    const TSettings defaults;
    for (int i = 0; i < scan::kCategoryCount; ++i) {
        if (i == 72)
            continue;
        EXPECT_EQ(settings.Categories[i].Enabled, defaults.Categories[i].Enabled) << i;
        EXPECT_EQ(settings.Categories[i].Method, defaults.Categories[i].Method) << i;
    }
    EXPECT_FALSE(settings.StubbornIndexDat.Enabled);
    EXPECT_TRUE(settings.UseTimeBuffer);
    EXPECT_EQ(settings.UserRules[0].Kind, 3);
    EXPECT_EQ(settings.UserRules[0].Text, L"C:\\x\\");
    EXPECT_TRUE(settings.Categories[72].Enabled);
    EXPECT_EQ(ReadFileBytes(path).find("[HardDrive]"), std::string::npos);
}

TEST(Settings, DriveSelection)
{
    const std::wstring path = TestDir() + L"Trimdex.ini";
    WriteFileBytes(path, "[DrivesSelected]\r\nc:\\=0\r\nD:\\=1\r\n");
    const TMemIniFile ini(path);
    EXPECT_FALSE(ReadDriveSelected(ini, L"C:\\", true));
    EXPECT_TRUE(ReadDriveSelected(ini, L"d:\\", false));
    EXPECT_TRUE(ReadDriveSelected(ini, L"E:\\", true));
    EXPECT_FALSE(ReadDriveSelected(ini, L"F:\\", false));
}

TEST(Settings, UnwritableOrUnreadableFileRaisesAndLosesNothing)
{
    const std::wstring path = TestDir() + L"Trimdex.ini";
    WriteFileBytes(path, "[Sound]\r\nOn=1\r\n");
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    TSettings settings;
    EXPECT_THROW(ReadSettings(settings, path), platform::AppError);
    EXPECT_TRUE(settings.SoundOn);  // read before the failing save
    settings.Skin = 5;
    EXPECT_THROW(WriteSettings(settings, path), platform::AppError);
    EXPECT_EQ(settings.Skin, 5);
    EXPECT_THROW(AddSkipFolder(settings, path, L"C:\\Keep"), platform::AppError);
    EXPECT_TRUE(settings.SkipFolders.empty());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadFileBytes(path), "[Sound]\r\nOn=1\r\n");

    // A file held open by another program is neither read as empty nor overwritten.
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    TSettings untouched;
    untouched.Skin = 1;
    EXPECT_THROW(ReadSettings(untouched, path), platform::AppError);
    EXPECT_EQ(untouched.Skin, 1);
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(path), "[Sound]\r\nOn=1\r\n");
}
