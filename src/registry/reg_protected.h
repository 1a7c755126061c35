// Registry entries the cleaner never lists or deletes, and the key it never lists.
#pragma once

#include <windows.h>

#include <string>

namespace registry {

// Key paths here are without root name, with or without the leading backslash.

// The "Office7" value of HKEY_CLASSES_ROOT\CLSID\{DA1E5A8E-1A89-11D2-95C9-00A0C90DCA5B}.
bool IsProtectedValue(HKEY root, const std::wstring& keyPath, const std::wstring& name);
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes\CLSID\{DA1E5A8E-1A89-11D2-95C9-00A0C90DCA5B} itself.
bool IsProtectedKey(HKEY root, const std::wstring& keyPath);
// Whether deleting the key whole would delete a protected key or value.
bool HoldsProtectedEntry(HKEY root, const std::wstring& keyPath);
// HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\IntelliForms\SPW, which is not listed.
bool IsUnlistedKey(HKEY root, const std::wstring& keyPath);

}  // namespace registry
