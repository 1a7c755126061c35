// Extraction: entries go back to their stored full paths or below a folder, each written
// to a temporary file beside its target and moved into place only after its CRC matched.
#include <optional>

#include "platform/errors.h"
#include "platform/text.h"
#include "platform/zip_archive.h"
#include "platform/zip_directory.h"

namespace platform {

using namespace zip;

namespace {

bool IsSafeComponent(const std::wstring& part)
{
    // Windows drops trailing dots and blanks, so ".. " would climb a folder too.
    if (part.empty() || part.back() == L'.' || part.back() == L' ')
        return false;
    for (wchar_t c : part) {
        if (c < 0x20 || std::wstring_view(L"<>:\"|?*\\").find(c) != std::wstring_view::npos)
            return false;
    }
    return true;
}

bool IsDriveComponent(const std::wstring& part)
{
    return part.size() == 2 && part[1] == L':' && ((part[0] >= L'A' && part[0] <= L'Z') || (part[0] >= L'a' && part[0] <= L'z'));
}

// Where an entry goes; nullopt for a name that would leave its place (a "..", a stream
// name, no drive when there is no destination folder). Folder entries end in '\\'.
std::optional<std::wstring> TargetPath(const std::wstring& name, const std::wstring& destination)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    while (true) {
        const size_t slash = name.find(L'/', start);
        parts.push_back(name.substr(start, slash == std::wstring::npos ? std::wstring::npos : slash - start));
        if (slash == std::wstring::npos)
            break;
        start = slash + 1;
    }
    const bool folder = parts.size() > 1 && parts.back().empty();
    if (folder)
        parts.pop_back();
    std::wstring target;
    size_t first = 0;
    if (destination.empty()) {
        if (!IsDriveComponent(parts[0]))
            return std::nullopt;
        target = parts[0];
        first = 1;
    } else {
        target = destination;
        if (target.back() != L'\\' && target.back() != L'/')
            target += L'\\';
        while (first + 1 < parts.size() && parts[first].empty())
            ++first;
        if (IsDriveComponent(parts[first]))
            parts[first].pop_back();
    }
    if (first >= parts.size())
        return std::nullopt;
    for (size_t i = first; i < parts.size(); ++i) {
        if (!IsSafeComponent(parts[i]))
            return std::nullopt;
        if (!target.empty() && target.back() != L'\\')
            target += L'\\';
        target += parts[i];
    }
    if (folder)
        target += L'\\';
    return target;
}

// Creates every missing folder of `path` up to its last backslash.
bool CreateFolders(const std::wstring& path)
{
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
        const std::wstring folder = path.substr(0, at);
        if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            const DWORD attributes = GetFileAttributesW(folder.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
                return false;
        }
    }
    return true;
}

void ExtractEntry(const ZipFileHandle& archive, const std::wstring& archivePath, uint64_t directoryOffset,
                  const CentralRecord& record, const std::wstring& name, const std::wstring& target)
{
    if (record.flags & kFlagEncrypted)
        throw AppError(L"压缩项目 \"" + name + L"\" 已加密, 无法解压");
    const EntrySpan span = LocateEntry(archive, record, directoryOffset, archivePath);
    if (!CreateFolders(target))
        throw AppError(L"无法创建文件夹以还原 \"" + target + L"\"");
    const std::wstring temp =
        target + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
    try {
        {
            ZipFileHandle out(temp, ZipFileHandle::Mode::CreateAlways);
            const StreamResult result =
                ExtractInto(archive, span.dataOffset, record.compressedSize, record.method, record.size, out, name);
            if (result.size != record.size || result.crc != record.crc)
                throw AppError(L"压缩项目 \"" + name + L"\" 已损坏: CRC 校验错误");
            FILETIME lastWrite{};
            if (const auto exact = DecodeNtfsLastWrite(record.extra))
                lastWrite = *exact;
            else if (FILETIME local; DosDateTimeToFileTime(record.dosDate, record.dosTime, &local))
                LocalFileTimeToFileTime(&local, &lastWrite);
            out.SetLastWriteTime(lastWrite);
            out.Flush();
        }
        SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw AppError(L"无法写入文件 \"" + target + L"\": " + SystemErrorText(GetLastError()));
    } catch (...) {
        DeleteFileW(temp.c_str());
        throw;
    }
    const DWORD attributes = EntryAttributes(record);
    SetFileAttributesW(target.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

}  // namespace

ZipExtractResult ZipArchive::Extract(const std::vector<std::wstring>& names, const ZipExtractOptions& options) const
{
    std::vector<std::wstring> wanted;
    for (const std::wstring& name : names)
        wanted.push_back(BackslashPath(name));
    return ExtractMatching(
        [&](const std::wstring& name) {
            const std::wstring path = BackslashPath(name);
            for (const std::wstring& w : wanted) {
                if (SameText(w, path))
                    return true;
            }
            return false;
        },
        options);
}

ZipExtractResult ZipArchive::ExtractAll(const ZipExtractOptions& options) const
{
    return ExtractMatching([](const std::wstring&) { return true; }, options);
}

ZipExtractResult ZipArchive::ExtractMatching(const std::function<bool(const std::wstring&)>& wanted,
                                             const ZipExtractOptions& options) const
{
    RecoverInterrupted(path_);
    const ZipFileHandle archive(path_, ZipFileHandle::Mode::Read);
    const Directory directory = ReadDirectory(archive, path_);
    ZipExtractResult result;
    for (const CentralRecord& record : directory.records) {
        const std::wstring name = DecodeName(record);
        if (!wanted(name))
            continue;
        const std::optional<std::wstring> target = TargetPath(name, options.destinationFolder);
        if (!target) {
            result.errors.push_back(L"压缩项目 \"" + name + L"\" 的路径不安全, 未解压");
            continue;
        }
        if (target->back() == L'\\') {
            CreateFolders(*target);
            continue;
        }
        if (!options.overwrite && GetFileAttributesW(target->c_str()) != INVALID_FILE_ATTRIBUTES)
            continue;
        try {
            ExtractEntry(archive, path_, directory.offset, record, name, *target);
            ++result.extracted;
        } catch (const AppError& error) {
            result.errors.push_back(error.message());
        }
    }
    return result;
}

}  // namespace platform
