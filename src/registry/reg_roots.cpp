#include "registry/reg_roots.h"

#include "platform/text.h"

namespace registry {

namespace {

struct RootEntry {
    const wchar_t* name;
    HKEY key;
};

const RootEntry kRoots[] = {
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},     {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},   {L"HKEY_USERS", HKEY_USERS},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}, {L"HKEY_DYN_DATA", HKEY_DYN_DATA},
};

}  // namespace

HKEY RootStToRoot(std::wstring& path, std::wstring& rootName)
{
    for (const RootEntry& root : kRoots) {
        const std::wstring name = root.name;
        if (path.size() < name.size() || !platform::SameText(path.substr(0, name.size()), name))
            continue;
        // "HKEY_USERSX\..." names no root.
        if (path.size() > name.size() && path[name.size()] != L'\\')
            continue;
        path.erase(0, name.size());
        rootName = name;
        return root.key;
    }
    return nullptr;
}

std::wstring RootName(HKEY root)
{
    for (const RootEntry& entry : kRoots) {
        if (entry.key == root)
            return entry.name;
    }
    return {};
}

std::wstring ApiKeyPath(const std::wstring& keyPath)
{
    size_t first = keyPath.find_first_not_of(L'\\');
    if (first == std::wstring::npos)
        return {};
    size_t last = keyPath.find_last_not_of(L'\\');
    return keyPath.substr(first, last - first + 1);
}

}  // namespace registry
