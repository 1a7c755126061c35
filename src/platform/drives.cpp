#include "platform/drives.h"

#include "platform/text.h"

#include <winioctl.h>

#include <cstring>
#include <cwctype>

namespace platform {

namespace {

using WineUnixNameFunction = char*(CDECL*)(const wchar_t*);

WineUnixNameFunction WineUnixNameExport()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel ? reinterpret_cast<WineUnixNameFunction>(GetProcAddress(kernel, "wine_get_unix_file_name"))
                  : nullptr;
}

// Wine's mount manager extension: the Unix side of a drive letter.
constexpr DWORD kQueryUnixDrive = CTL_CODE('m', 33, METHOD_BUFFERED, FILE_READ_ACCESS);

#pragma pack(push, 8)
struct MountmgrUnixDrive {
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

std::vector<std::string> SplitUnixPath(const std::string& path)
{
    std::vector<std::string> parts;
    size_t begin = 0;
    while (begin <= path.size()) {
        size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        std::string part = path.substr(begin, end - begin);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        begin = end + 1;
    }
    return parts;
}

std::string JoinUnixPath(const std::vector<std::string>& parts, size_t count)
{
    std::string path;
    for (size_t i = 0; i < count; ++i)
        path += "/" + parts[i];
    return path.empty() ? "/" : path;
}

std::string PrefixFolderOf(const std::string& dosdevicesFolder) { return ResolveDriveLink(dosdevicesFolder, ".."); }

bool LiesWithin(const std::string& path, const std::string& folder)
{
    return path == folder || (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
                              (folder == "/" || path[folder.size()] == '/'));
}

}  // namespace

std::vector<std::wstring> LogicalDriveStrings()
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0)
            return {};
        if (length < buffer.size())
            break;
        buffer.resize(length + 1);
    }
    std::vector<std::wstring> roots;
    for (const wchar_t* root = buffer.data(); *root; root += std::wcslen(root) + 1)
        roots.emplace_back(root);
    return roots;
}

UINT DriveTypeOf(const std::wstring& path)
{
    if (path.empty())
        return DRIVE_NO_ROOT_DIR;
    return GetDriveTypeW(path.substr(0, 3).c_str());
}

std::optional<std::string> WineUnixFileName(const std::wstring& path)
{
    WineUnixNameFunction unixName = WineUnixNameExport();
    if (!unixName)
        return std::nullopt;
    char* name = unixName(path.c_str());
    if (!name)
        return std::nullopt;
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

std::optional<std::string> WineDriveLinkTarget(wchar_t letter)
{
    if (!WineUnixNameExport())
        return std::nullopt;
    HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (manager == INVALID_HANDLE_VALUE)
        return std::nullopt;
    MountmgrUnixDrive query{};
    query.letter = static_cast<WCHAR>(std::towlower(letter));
    std::vector<BYTE> reply(1024);
    DWORD got = 0;
    BOOL ok = DeviceIoControl(manager, kQueryUnixDrive, &query, sizeof query, reply.data(),
                              static_cast<DWORD>(reply.size()), &got, nullptr);
    if (!ok && GetLastError() == ERROR_MORE_DATA && got >= sizeof(ULONG)) {
        ULONG needed = 0;
        std::memcpy(&needed, reply.data(), sizeof needed);
        if (needed > reply.size() && needed <= 65536) {
            reply.resize(needed);
            ok = DeviceIoControl(manager, kQueryUnixDrive, &query, sizeof query, reply.data(),
                                 static_cast<DWORD>(reply.size()), &got, nullptr);
        }
    }
    CloseHandle(manager);
    if (!ok || got < sizeof(MountmgrUnixDrive) || got > reply.size())
        return std::nullopt;
    MountmgrUnixDrive drive;
    std::memcpy(&drive, reply.data(), sizeof drive);
    const size_t offset = drive.mountPointOffset;
    if (offset < sizeof drive || offset >= got)
        return std::nullopt;
    const char* text = reinterpret_cast<const char*>(reply.data()) + offset;
    const void* end = std::memchr(text, 0, got - offset);
    if (!end || end == text)
        return std::nullopt;
    return std::string(text, static_cast<const char*>(end));
}

std::optional<std::string> DosdevicesFolderOf(const std::string& unixName, wchar_t letter)
{
    if (letter > 0x7F || !std::iswalpha(letter))
        return std::nullopt;
    std::string name = unixName;
    if (!name.empty() && name.back() != '/')
        name += '/';
    const std::string tail = std::string("/dosdevices/") + static_cast<char>(std::towlower(letter)) + ":/";
    if (name.size() <= tail.size() || name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return std::nullopt;
    return name.substr(0, name.size() - tail.size() + std::strlen("/dosdevices/"));
}

std::string ResolveDriveLink(const std::string& dosdevicesFolder, const std::string& linkTarget)
{
    const std::string path = !linkTarget.empty() && linkTarget[0] == '/' ? linkTarget
                                                                         : dosdevicesFolder + "/" + linkTarget;
    const std::vector<std::string> parts = SplitUnixPath(path);
    return JoinUnixPath(parts, parts.size());
}

bool IsHostUnixDrive(const std::optional<std::string>& rootUnixName, wchar_t letter,
                     const std::optional<std::string>& linkTarget)
{
    if (!rootUnixName)
        return false;
    std::optional<std::string> dosdevices = DosdevicesFolderOf(*rootUnixName, letter);
    if (!dosdevices || !linkTarget || linkTarget->empty())
        return true;
    const std::string prefix = PrefixFolderOf(*dosdevices);
    return prefix == "/" || !LiesWithin(ResolveDriveLink(*dosdevices, *linkTarget), prefix);
}

bool IsHostDrive(const std::wstring& root)
{
    if (root.size() < 2 || root[1] != L':' || root[0] > 0x7F || !std::iswalpha(root[0]))
        return false;
    const wchar_t letter = root[0];
    const std::optional<std::string> unixName = WineUnixFileName(std::wstring{letter, L':', L'\\'});
    if (!unixName)
        return false;
    const std::optional<std::string> link = WineDriveLinkTarget(letter);
    if (IsHostUnixDrive(unixName, letter, link))
        return true;
    // The link stays inside the prefix by name; a folder on the way that is itself a link
    // could still lead out, so each one must be a real folder.
    const std::string dosdevices = *DosdevicesFolderOf(*unixName, letter);
    const std::vector<std::string> prefixParts = SplitUnixPath(PrefixFolderOf(dosdevices));
    const std::vector<std::string> parts = SplitUnixPath(ResolveDriveLink(dosdevices, *link));
    for (size_t count = prefixParts.size() + 1; count <= parts.size(); ++count) {
        std::wstring path = L"\\\\?\\unix" + FromUtf8(JoinUnixPath(parts, count));
        for (wchar_t& c : path) {
            if (c == L'/')
                c = L'\\';
        }
        DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            return true;
    }
    return false;
}

bool DefaultDriveSelected(const std::wstring& root)
{
    return DriveTypeOf(root) == DRIVE_FIXED && !IsHostDrive(root);
}

}  // namespace platform
