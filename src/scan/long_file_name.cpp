#include "platform/files.h"
#include "scan/folder_walk.h"

namespace scan {

std::wstring GetLongFileName(const std::wstring& path)
{
    const size_t first = path.find(L'\\');
    if (first == std::wstring::npos)
        return path;
    // A trailing backslash stays; every component between is looked up by a listing.
    const bool trailing = path.size() > first + 1 && path.back() == L'\\';
    const std::wstring body = trailing ? path.substr(0, path.size() - 1) : path;
    std::wstring result = body.substr(0, first);
    size_t start = first + 1;
    while (start <= body.size()) {
        size_t end = body.find(L'\\', start);
        if (end == std::wstring::npos)
            end = body.size();
        const std::wstring component = body.substr(start, end - start);
        if (component.empty() || component.find_first_of(L"*?") != std::wstring::npos)
            return path;
        const std::optional<platform::FileEntry> entry = platform::FindEntry(result + L"\\" + component);
        if (!entry)
            return path;
        result += L"\\" + entry->name;
        start = end + 1;
    }
    return trailing ? result + L"\\" : result;
}

}  // namespace scan
