#include <gtest/gtest.h>
#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>

#include "platform/drives.h"
#include "platform/files.h"
#include "support/test_support.h"

using namespace platform;
using testing_support::TestDir;
using testing_support::Utf8;

namespace {

// Wine's mount manager maps a drive letter to a Unix folder, as winecfg does.
constexpr DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

#pragma pack(push, 8)
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};
#pragma pack(pop)

bool DefineUnixDrive(wchar_t letter, UINT type, const std::string& unixFolder)
{
    std::vector<BYTE> request(sizeof(UnixDriveRequest) + unixFolder.size() + 1, 0);
    UnixDriveRequest header{};
    header.size = static_cast<ULONG>(request.size());
    header.type = type;
    header.letter = letter;
    header.mountPointOffset = unixFolder.empty() ? 0 : sizeof header;
    std::memcpy(request.data(), &header, sizeof header);
    std::memcpy(request.data() + sizeof header, unixFolder.data(), unixFolder.size());
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, request.data(), static_cast<DWORD>(request.size()), nullptr,
                              0, &got, nullptr);
    CloseHandle(manager);
    return ok != 0;
}

// A drive letter mapped for one test, always to a folder inside the prefix, and removed
// again when the test ends (the test harness refuses to run while a drive leads outside).
class TemporaryDrive {
public:
    TemporaryDrive(wchar_t letter, const std::string& unixFolder)
        : letter_(letter), defined_(DefineUnixDrive(letter, DRIVE_FIXED, unixFolder))
    {
    }
    ~TemporaryDrive() { DefineUnixDrive(letter_, DRIVE_NO_ROOT_DIR, ""); }
    bool Defined() const { return defined_; }

private:
    wchar_t letter_;
    bool defined_;
};

// "<prefix>/" from the Unix name of C:\ ("<prefix>/dosdevices/c:/").
std::string PrefixFolder()
{
    std::optional<std::string> c = WineUnixFileName(L"C:\\");
    if (!c)
        return {};
    std::optional<std::string> dosdevices = DosdevicesFolderOf(*c, L'C');
    return dosdevices ? dosdevices->substr(0, dosdevices->size() - std::strlen("dosdevices/")) : std::string();
}

// The Unix folder of a test folder under C:\tidymate-tests, reached through the prefix's
// drive_c folder or through the c: link in dosdevices.
std::string TestFolderUnix(const std::string& prefix, bool throughDriveLink, const std::wstring& testDir)
{
    std::string relative = Utf8(testDir.substr(3));
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return prefix + (throughDriveLink ? "dosdevices/c:/" : "drive_c/") + relative;
}

}  // namespace

TEST(Drives, DosdevicesFolderAndLinkResolution)
{
    struct Folder {
        std::string unixName;
        wchar_t letter;
        std::optional<std::string> dosdevices;
    } folders[] = {
        {"/p/x/dosdevices/c:/", L'C', "/p/x/dosdevices/"},
        {"/p/x/dosdevices/c:", L'c', "/p/x/dosdevices/"},
        {"/p/x/dosdevices/d:/", L'c', std::nullopt},
        {"/", L'Z', std::nullopt},
        {"/mnt/data/", L'D', std::nullopt},
        {"dosdevices/c:/", L'C', std::nullopt},
    };
    for (const Folder& f : folders)
        EXPECT_EQ(DosdevicesFolderOf(f.unixName, f.letter), f.dosdevices) << f.unixName;

    struct Link {
        std::string target;
        std::string resolved;
    } links[] = {
        {"../drive_c", "/p/x/drive_c"},          {"../test-drives/d", "/p/x/test-drives/d"},
        {"./../drive_c/./sub/", "/p/x/drive_c/sub"}, {"/", "/"},
        {"/tmp//host/", "/tmp/host"},            {"../../..", "/"},
        {"../../../../..", "/"},                 {"/p/x/drive_c/../../y", "/p/y"},
    };
    for (const Link& l : links)
        EXPECT_EQ(ResolveDriveLink("/p/x/dosdevices/", l.target), l.resolved) << l.target;
}

TEST(Drives, HostDriveDecisionFromWhatWineReports)
{
    const std::string c = "/home/u/.wine/dosdevices/c:/";
    const std::string d = "/home/u/.wine/dosdevices/d:/";
    struct Case {
        std::optional<std::string> unixName;
        wchar_t letter;
        std::optional<std::string> link;
        bool host;
    } cases[] = {
        {c, L'C', "../drive_c", false},
        {d, L'D', "../test-drives/d", false},
        {d, L'D', "/home/u/.wine/drive_c/cd", false},   // absolute, inside the prefix
        {d, L'D', "..", false},                         // the prefix folder itself
        {"/", L'Z', "/", true},                          // Wine names a link to / by its target
        {d, L'D', "/", true},
        {d, L'D', "/mnt/cdrom", true},
        {d, L'D', "/home/u", true},                      // the folder that holds the prefix
        {d, L'D', "/home/u/.wine2/drive_c", true},       // a neighbour with the same beginning
        {d, L'D', "../../Documents", true},
        {d, L'D', "../drive_c/../../x", true},
        {d, L'D', std::nullopt, true},                   // link unknown: cannot tell
        {d, L'D', "", true},
        {c, L'D', "../drive_c", true},                   // the name is not D:'s own link
        {std::nullopt, L'Q', std::nullopt, false},       // no mapping, no drive
    };
    for (const Case& k : cases) {
        EXPECT_EQ(IsHostUnixDrive(k.unixName, k.letter, k.link), k.host)
            << k.unixName.value_or("(none)") << " " << k.link.value_or("(none)");
    }
}

TEST(Drives, TestPrefixDrivesAndTypes)
{
    const std::vector<std::wstring> roots = LogicalDriveStrings();
    for (const wchar_t* root : {L"C:\\", L"D:\\", L"E:\\"})
        EXPECT_NE(std::find(roots.begin(), roots.end(), root), roots.end()) << Utf8(root);
    EXPECT_EQ(std::find(roots.begin(), roots.end(), L"Z:\\"), roots.end());

    struct Case {
        const wchar_t* path;
        UINT type;
        bool selected;
    } cases[] = {
        {L"C:\\", DRIVE_FIXED, true},
        {L"C:\\windows\\notepad.exe", DRIVE_FIXED, true},
        {L"D:\\", DRIVE_CDROM, false},
        {L"E:\\", DRIVE_REMOVABLE, false},
        {L"Q:\\", DRIVE_NO_ROOT_DIR, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        EXPECT_EQ(DriveTypeOf(c.path), c.type);
        EXPECT_FALSE(IsHostDrive(c.path));
        EXPECT_EQ(DefaultDriveSelected(c.path), c.selected);
    }
    EXPECT_EQ(DriveTypeOf(L""), static_cast<UINT>(DRIVE_NO_ROOT_DIR));

    // Under Wine the drives are links in the prefix's dosdevices folder.
    ASSERT_TRUE(WineUnixFileName(L"C:\\").has_value());
    EXPECT_EQ(WineDriveLinkTarget(L'C'), std::optional<std::string>("../drive_c"));
    EXPECT_EQ(WineDriveLinkTarget(L'd'), std::optional<std::string>("../test-drives/d"));
    EXPECT_FALSE(WineDriveLinkTarget(L'Q').has_value());
    EXPECT_FALSE(WineUnixFileName(L"Q:\\").has_value());
}

TEST(Drives, FixedDriveMappedInsideThePrefixIsSelected)
{
    const std::string prefix = PrefixFolder();
    ASSERT_FALSE(prefix.empty());
    const std::wstring dir = TestDir();
    ASSERT_TRUE(CreateFolders(dir + L"drive"));
    const std::string folder = TestFolderUnix(prefix, false, dir) + "drive";
    bool host = true, selected = false;
    UINT type = 0;
    std::optional<std::string> link;
    {
        TemporaryDrive drive(L'x', folder);
        ASSERT_TRUE(drive.Defined());
        link = WineDriveLinkTarget(L'X');
        type = DriveTypeOf(L"X:\\");
        host = IsHostDrive(L"X:\\");
        selected = DefaultDriveSelected(L"X:\\");
    }
    EXPECT_FALSE(WineUnixFileName(L"X:\\").has_value()) << "the test drive was not removed";
    EXPECT_EQ(link, folder);
    EXPECT_EQ(type, static_cast<UINT>(DRIVE_FIXED));
    EXPECT_FALSE(host);
    EXPECT_TRUE(selected);
}

TEST(Drives, DriveMappedThroughAnotherLinkCountsAsHostDrive)
{
    // The folder lies inside the prefix, but the way to it passes the c: link, which could
    // as well lead anywhere: such a drive is not trusted.
    const std::string prefix = PrefixFolder();
    ASSERT_FALSE(prefix.empty());
    const std::wstring dir = TestDir();
    ASSERT_TRUE(CreateFolders(dir + L"drive"));
    const std::string folder = TestFolderUnix(prefix, true, dir) + "drive";
    bool host = false, selected = true;
    {
        TemporaryDrive drive(L'y', folder);
        ASSERT_TRUE(drive.Defined());
        host = IsHostDrive(L"Y:\\");
        selected = DefaultDriveSelected(L"Y:\\");
    }
    EXPECT_FALSE(WineUnixFileName(L"Y:\\").has_value()) << "the test drive was not removed";
    EXPECT_TRUE(host);
    EXPECT_FALSE(selected);
}
