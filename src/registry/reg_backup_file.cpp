#include "registry/reg_backup_file.h"

#include <windows.h>

#include <exception>
#include <system_error>

#include "platform/errors.h"
#include "platform/text.h"

namespace registry {

namespace {

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsEmptyFile(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) && data.nFileSizeLow == 0 &&
           data.nFileSizeHigh == 0;
}

// Moves a file that is not a backup out of the way instead of overwriting it.
void KeepAside(const std::wstring& path)
{
    std::wstring aside = path + L".old";
    for (int n = 2; FileExists(aside); ++n)
        aside = path + L".old-" + std::to_wstring(n);
    if (!MoveFileExW(path.c_str(), aside.c_str(), MOVEFILE_WRITE_THROUGH))
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category());
}

// The first line of a file, read from its first bytes only (the file grows all day).
std::optional<std::wstring> FirstLine(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    char buffer[128];
    DWORD got = 0;
    BOOL ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr);
    CloseHandle(file);
    if (!ok || got == 0)
        return std::nullopt;
    std::string bytes(buffer, got);
    return platform::FromAnsi(bytes.substr(0, bytes.find_first_of("\r\n")));
}

std::wstring StripLeadingLineBreaks(const std::wstring& text)
{
    size_t start = text.find_first_not_of(L"\r\n");
    return start == std::wstring::npos ? std::wstring() : text.substr(start);
}

}  // namespace

std::optional<RegFileFormat> BackupFileFormat(const std::wstring& backupPath)
{
    auto line = FirstLine(backupPath);
    if (!line)
        return std::nullopt;
    const std::wstring first = platform::Upper(*line);
    if (first == L"REGEDIT4")
        return RegFileFormat::Regedit4;
    if (first == L"WINDOWS REGISTRY EDITOR VERSION 5.00")
        return RegFileFormat::Version5;
    return std::nullopt;
}

void WriteReg(const std::wstring& backupPath, int osKind, const std::wstring& text)
{
    const std::wstring line = StripLeadingLineBreaks(text);
    try {
        // Wine would append to a read-only file; Windows refuses, and so do we.
        const DWORD attributes = GetFileAttributesW(backupPath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            throw std::system_error(ERROR_ACCESS_DENIED, std::system_category());
        if (BackupFileFormat(backupPath)) {
            platform::AppendTextLines(backupPath, {line});
            return;
        }
        if (FileExists(backupPath) && !IsEmptyFile(backupPath))
            KeepAside(backupPath);
        platform::WriteTextLinesAtomic(backupPath, {HeaderLine(FormatForOSKind(osKind)), L"", line});
    } catch (const std::exception& error) {
        throw platform::AppError(L"无法写入注册表备份文件 \"" + backupPath + L"\": " + platform::ErrorText(error));
    }
}

}  // namespace registry
