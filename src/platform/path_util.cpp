#include "platform/path_util.h"

namespace platform {

std::wstring CheckPath(const std::wstring& path)
{
    if (path.empty() || path.back() == L'\\')
        return path;
    return path + L'\\';
}

std::wstring RemoveSlash(const std::wstring& path)
{
    if (!path.empty() && path.back() == L'\\')
        return path.substr(0, path.size() - 1);
    return path;
}

std::wstring FilePart(const std::wstring& path)
{
    size_t at = path.find_last_of(L"\\/:");
    return at == std::wstring::npos ? path : path.substr(at + 1);
}

std::wstring FolderPart(const std::wstring& path)
{
    size_t at = path.find_last_of(L"\\/:");
    return at == std::wstring::npos ? std::wstring() : path.substr(0, at + 1);
}

}  // namespace platform
