#include "registry/reg_key.h"

namespace registry {

LONG RegKey::Open(HKEY root, const std::wstring& path, REGSAM access)
{
    Close();
    return RegOpenKeyExW(root, path.c_str(), 0, access, &handle_);
}

void RegKey::Close()
{
    if (handle_)
        RegCloseKey(handle_);
    handle_ = nullptr;
}

std::vector<std::wstring> RegKey::ValueNames() const
{
    std::vector<std::wstring> names;
    DWORD maxName = 0;
    if (RegQueryInfoKeyW(handle_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> buffer(maxName + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG result = RegEnumValueW(handle_, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 2 + 256);
            --index;
            continue;
        }
        if (result != ERROR_SUCCESS)
            break;
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

std::vector<std::wstring> RegKey::SubkeyNames() const
{
    std::vector<std::wstring> names;
    DWORD maxName = 0;
    if (RegQueryInfoKeyW(handle_, nullptr, nullptr, nullptr, nullptr, &maxName, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> buffer(maxName + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LONG result = RegEnumKeyExW(handle_, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 2 + 256);
            --index;
            continue;
        }
        if (result != ERROR_SUCCESS)
            break;
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

LONG RegKey::Read(const std::wstring& name, RegValue& value) const
{
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = 0;
        LONG result = RegQueryValueExW(handle_, name.c_str(), nullptr, &type, nullptr, &size);
        if (result != ERROR_SUCCESS)
            return result;
        value.data.resize(size);
        result = RegQueryValueExW(handle_, name.c_str(), nullptr, &type, size ? value.data.data() : nullptr, &size);
        // The value may have grown between the two calls.
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            return result;
        value.type = type;
        value.data.resize(size);
        return ERROR_SUCCESS;
    }
}

LONG RegKey::DeleteValue(const std::wstring& name) const { return RegDeleteValueW(handle_, name.c_str()); }

}  // namespace registry
