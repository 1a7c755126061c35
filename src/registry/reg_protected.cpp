#include "registry/reg_protected.h"

#include "platform/text.h"
#include "registry/reg_roots.h"

namespace registry {

namespace {

const wchar_t kOfficeKey[] = L"CLSID\\{DA1E5A8E-1A89-11D2-95C9-00A0C90DCA5B}";
const wchar_t kMachineClassKey[] = L"SOFTWARE\\CLASSES\\CLSID\\{DA1E5A8E-1A89-11D2-95C9-00A0C90DCA5B}";

std::wstring UpperPath(const std::wstring& keyPath) { return platform::Upper(ApiKeyPath(keyPath)); }

// `path` is `protectedPath` or one of the keys above it.
bool IsAtOrAbove(const std::wstring& path, const std::wstring& protectedPath)
{
    if (path.empty() || path == protectedPath)
        return true;
    return protectedPath.size() > path.size() && protectedPath.compare(0, path.size(), path) == 0 &&
           protectedPath[path.size()] == L'\\';
}

}  // namespace

bool IsProtectedValue(HKEY root, const std::wstring& keyPath, const std::wstring& name)
{
    return root == HKEY_CLASSES_ROOT && UpperPath(keyPath) == kOfficeKey && platform::SameText(name, L"Office7");
}

bool IsProtectedKey(HKEY root, const std::wstring& keyPath)
{
    return root == HKEY_LOCAL_MACHINE && UpperPath(keyPath) == kMachineClassKey;
}

bool HoldsProtectedEntry(HKEY root, const std::wstring& keyPath)
{
    if (root == HKEY_CLASSES_ROOT)
        return IsAtOrAbove(UpperPath(keyPath), kOfficeKey);
    if (root == HKEY_LOCAL_MACHINE)
        return IsAtOrAbove(UpperPath(keyPath), kMachineClassKey);
    return false;
}

bool IsUnlistedKey(HKEY root, const std::wstring& keyPath)
{
    return root == HKEY_CURRENT_USER &&
           UpperPath(keyPath) == L"SOFTWARE\\MICROSOFT\\INTERNET EXPLORER\\INTELLIFORMS\\SPW";
}

}  // namespace registry
