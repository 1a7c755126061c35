#include "walk_test_support.h"

#include <stdexcept>

#include "app/shortcuts.h"
#include "platform/files.h"
#include "platform/path_util.h"
#include "support/test_support.h"

namespace walk_testing {

std::ostream& operator<<(std::ostream& out, const TFinding& finding)
{
    return out << "{" << finding.Category << ", " << testing_support::Utf8(finding.Path) << ", "
               << testing_support::Utf8(finding.Alternate) << "}";
}

void TRecordingHost::ChangeLabel(int categoryIndex)
{
    Current = categoryIndex;
    Labels.push_back(categoryIndex);
}

void TRecordingHost::ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath)
{
    Findings.push_back({Current, path, alternatePath});
    if (StopAfterFindings && Findings.size() >= StopAfterFindings)
        Stop = true;
}

std::vector<std::wstring> RelativePaths(const std::vector<TFinding>& findings, const std::wstring& base)
{
    std::vector<std::wstring> paths;
    for (const TFinding& finding : findings)
        paths.push_back(finding.Path.starts_with(base) ? finding.Path.substr(base.size()) : finding.Path);
    return paths;
}

app::TSettings SettingsWith(std::initializer_list<int> categories)
{
    app::TSettings settings;
    for (app::TCategorySetting& category : settings.Categories)
        category.Enabled = false;
    settings.StubbornIndexDat.Enabled = false;
    for (int index : categories)
        settings.Categories[index].Enabled = true;
    return settings;
}

scan::TDateSerial FixedNow()
{
    SYSTEMTIME time{};
    time.wYear = 2020;
    time.wMonth = 6;
    time.wDay = 15;
    time.wHour = 10;
    return scan::SerialOf(time);
}

scan::TClock FixedClock()
{
    return [] { return FixedNow(); };
}

FILETIME UtcOfLocalSerial(scan::TDateSerial serial)
{
    const double ticks = (serial + 109205.0) * 864000000000.0;
    const auto whole = static_cast<unsigned long long>(ticks);
    FILETIME local{static_cast<DWORD>(whole), static_cast<DWORD>(whole >> 32)};
    FILETIME utc;
    if (!LocalFileTimeToFileTime(&local, &utc))
        throw std::runtime_error("LocalFileTimeToFileTime failed");
    return utc;
}

void SetTimes(const std::wstring& path, std::optional<scan::TDateSerial> written,
              std::optional<scan::TDateSerial> accessed)
{
    HANDLE handle = CreateFileW(platform::RemoveSlash(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + testing_support::Utf8(path));
    const FILETIME write = written ? UtcOfLocalSerial(*written) : FILETIME{};
    const FILETIME access = accessed ? UtcOfLocalSerial(*accessed) : FILETIME{};
    const BOOL done = SetFileTime(handle, nullptr, accessed ? &access : nullptr, written ? &write : nullptr);
    CloseHandle(handle);
    if (!done)
        throw std::runtime_error("SetFileTime failed on " + testing_support::Utf8(path));
}

void MakeFile(const std::wstring& path, size_t size) { testing_support::WriteFileBytes(path, std::string(size, 'x')); }

void MakeFolder(const std::wstring& path)
{
    if (!platform::CreateFolders(path))
        throw std::runtime_error("cannot create " + testing_support::Utf8(path));
}

void MakeLink(const std::wstring& linkPath, const std::wstring& target)
{
    platform::TPBShellLink link;
    app::MakeShortcut(link, target, std::nullopt, std::nullopt, linkPath, false);
}

std::wstring ShortNameOf(const std::wstring& path)
{
    const std::optional<platform::FileEntry> entry = platform::FindEntry(path);
    return entry ? entry->shortName : L"";
}

}  // namespace walk_testing
