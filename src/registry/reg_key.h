// A registry key handle that closes itself, with the few reads the registry cleaner needs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace registry {

struct RegValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

class RegKey {
public:
    RegKey() = default;
    ~RegKey() { Close(); }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens an existing key (never creates one). Returns the Win32 error code.
    LONG Open(HKEY root, const std::wstring& path, REGSAM access);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }

    // Names in the order the registry lists them. Empty when they cannot be read.
    std::vector<std::wstring> ValueNames() const;
    std::vector<std::wstring> SubkeyNames() const;

    // Reads a value's type and whole data. Returns the Win32 error code.
    LONG Read(const std::wstring& name, RegValue& value) const;
    LONG DeleteValue(const std::wstring& name) const;

private:
    HKEY handle_ = nullptr;
};

}  // namespace registry
