#include "platform/system_info.h"

#include "platform/path_util.h"

#include <algorithm>
#include <vector>

namespace platform {

namespace {

struct OSInfoRow {
    DWORD platformId;
    DWORD major;
    DWORD minor;
    int osInfo;
};

// NT 4 and older are matched by their major version alone, and 98 SE by its service-pack
// text, in OSInfoFromVersion.
constexpr OSInfoRow kOSInfoRows[] = {
    {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 0},
    {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 1},
    {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 3},
    {VER_PLATFORM_WIN32_NT, 5, 0, 5},
    {VER_PLATFORM_WIN32_NT, 5, 1, 6},
    {VER_PLATFORM_WIN32_NT, 5, 2, 7},
    {VER_PLATFORM_WIN32_NT, 6, 0, 8},
};

// OSKind for GetOSInfo's -1 .. 8.
constexpr uint8_t kOSKindOfOSInfo[] = {0, 1, 2, 2, 3, 4, 5, 6, 7, 8};

std::wstring Folder(UINT (WINAPI *query)(LPWSTR, UINT))
{
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = query(buffer.data(), static_cast<UINT>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return {};
    return CheckPath(std::wstring(buffer.data(), length));
}

}  // namespace

int OSInfoFromVersion(const OSVersionFacts& facts)
{
    if (facts.platformId == VER_PLATFORM_WIN32_NT && facts.major <= 4)
        return 4;
    for (const OSInfoRow& row : kOSInfoRows) {
        if (row.platformId != facts.platformId || row.major != facts.major || row.minor != facts.minor)
            continue;
        if (row.osInfo == 1 && facts.servicePack.size() >= 2 && facts.servicePack[1] == L'A')
            return 2;
        return row.osInfo;
    }
    return -1;
}

int GetOSInfo()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info))
        return -1;
#pragma GCC diagnostic pop
    return OSInfoFromVersion({info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.szCSDVersion});
}

uint8_t OSKindFromOSInfo(int osInfo)
{
    if (osInfo < -1 || osInfo > 8)
        return 0;
    return kOSKindOfOSInfo[osInfo + 1];
}

std::wstring ExpandEnvironmentText(const std::wstring& text)
{
    std::vector<wchar_t> buffer(std::max<size_t>(text.size() + 1, 256));
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD length = ExpandEnvironmentStringsW(text.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return text;
        if (length <= buffer.size())
            return std::wstring(buffer.data());
        buffer.resize(length);
    }
    return text;
}

std::wstring WindowsFolder() { return Folder(GetWindowsDirectoryW); }

std::wstring SystemFolder() { return Folder(GetSystemDirectoryW); }

}  // namespace platform
