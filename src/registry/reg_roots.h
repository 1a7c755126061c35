// Root names of registry paths ("HKEY_CURRENT_USER\...") and the predefined keys they stand for.
#pragma once

#include <windows.h>

#include <string>

namespace registry {

// Recognises the root name at the start of `path` in any letter case. On success removes it
// from `path` (leaving the backslash and the key path), sets `rootName` as written in the
// table and returns the predefined key; otherwise leaves `path` unchanged and returns nullptr.
HKEY RootStToRoot(std::wstring& path, std::wstring& rootName);

// The root name of a predefined key; "" for any other handle.
std::wstring RootName(HKEY root);

// Key path as the registry functions take it: without the leading and trailing backslashes.
std::wstring ApiKeyPath(const std::wstring& keyPath);

}  // namespace registry
