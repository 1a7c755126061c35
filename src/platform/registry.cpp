#include "platform/registry.h"

#include "platform/errors.h"
#include "platform/text.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

struct RootName {
    HKEY key;
    const wchar_t* name;
    const wchar_t* shortName;
};

const RootName kRootNames[] = {
    {HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT", L"HKCR"},
    {HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", L"HKCU"},
    {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", L"HKLM"},
    {HKEY_USERS, L"HKEY_USERS", L"HKU"},
    {HKEY_CURRENT_CONFIG, L"HKEY_CURRENT_CONFIG", L"HKCC"},
};

// Registry names are at most 16383 characters; the buffers never grow past this.
constexpr DWORD kMaxNameChars = 16384;
// A value that keeps changing size while it is read is given up after this many tries.
constexpr int kReadAttempts = 8;

std::wstring KeyPath(const std::wstring& path)
{
    size_t begin = path.find_first_not_of(L'\\');
    if (begin == std::wstring::npos)
        return {};
    size_t end = path.find_last_not_of(L'\\');
    return path.substr(begin, end - begin + 1);
}

std::wstring ErrorMessage(const wchar_t* format, const std::wstring& name)
{
    std::wstring text = format;
    text.replace(text.find(L"%s"), 2, name);
    return text;
}

// Enumerates names with RegEnumValueW or RegEnumKeyExW, growing the buffer when a name
// is longer than the key said.
template <typename Enum>
std::vector<std::wstring> EnumNames(DWORD maxChars, Enum enumerate)
{
    std::vector<std::wstring> names;
    std::vector<wchar_t> buffer(std::clamp<DWORD>(maxChars + 1, 256, kMaxNameChars));
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        LSTATUS rc = enumerate(index, buffer.data(), &length);
        if (rc == ERROR_MORE_DATA && buffer.size() < kMaxNameChars) {
            buffer.resize(std::min<size_t>(buffer.size() * 2, kMaxNameChars));
            continue;
        }
        if (rc != ERROR_SUCCESS)
            break;
        names.emplace_back(buffer.data(), std::min<size_t>(length, buffer.size()));
        ++index;
    }
    return names;
}

std::vector<std::wstring> SubKeyNames(HKEY key)
{
    DWORD maxChars = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxChars, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    return EnumNames(maxChars, [key](DWORD index, wchar_t* buffer, DWORD* length) {
        return RegEnumKeyExW(key, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
}

// Deletes a key and everything below it (RegDeleteTreeW is missing on Windows XP).
bool DeleteTree(HKEY parent, const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ | DELETE, &key) == ERROR_SUCCESS) {
        for (const std::wstring& name : SubKeyNames(key))
            DeleteTree(key, name);
        RegCloseKey(key);
    }
    LSTATUS rc = RegDeleteKeyW(parent, path.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::vector<BYTE> TextBytes(const std::wstring& value)
{
    // c_str() supplies the terminating NUL.
    const BYTE* begin = reinterpret_cast<const BYTE*>(value.c_str());
    return std::vector<BYTE>(begin, begin + (value.size() + 1) * sizeof(wchar_t));
}

}  // namespace

HKEY RootKeyFromName(const std::wstring& name)
{
    for (const RootName& root : kRootNames) {
        if (SameText(name, root.name) || SameText(name, root.shortName))
            return root.key;
    }
    return nullptr;
}

std::wstring RootKeyName(HKEY root)
{
    for (const RootName& known : kRootNames) {
        if (known.key == root)
            return known.name;
    }
    return {};
}

TNTRegistry::TNTRegistry(HKEY root)
    : root_(root),
      open_([](HKEY parent, const wchar_t* path, REGSAM access, HKEY* key) {
          return RegOpenKeyExW(parent, path, 0, access, key);
      })
{
}

TNTRegistry::~TNTRegistry() { CloseKey(); }

void TNTRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    root_ = root;
}

bool TNTRegistry::OpenKey(const std::wstring& path)
{
    CloseKey();
    const std::wstring subKey = KeyPath(path);
    for (REGSAM access : kOpenAccessOrder) {
        HKEY key = nullptr;
        LSTATUS rc = open_(root_, subKey.c_str(), access, &key);
        if (rc == ERROR_SUCCESS) {
            key_ = key;
            path_ = subKey;
            access_ = access;
            return true;
        }
        if (rc == ERROR_FILE_NOT_FOUND)
            return false;
    }
    return false;
}

bool TNTRegistry::CreateKey(const std::wstring& path)
{
    CloseKey();
    const std::wstring subKey = KeyPath(path);
    for (REGSAM access : {KEY_ALL_ACCESS, KEY_READ | KEY_WRITE}) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root_, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            key_ = key;
            path_ = subKey;
            access_ = access;
            return true;
        }
    }
    return false;
}

void TNTRegistry::CloseKey()
{
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
    path_.clear();
    access_ = 0;
}

void TNTRegistry::ReadError(const std::wstring& name)
{
    throw AppError(ErrorMessage(L"获取数据 '%s' 失败", name));
}

void TNTRegistry::WriteError(const std::wstring& name)
{
    throw AppError(ErrorMessage(L"设置数据 '%s' 失败", name));
}

std::optional<RegValue> TNTRegistry::ReadValue(const std::wstring& name) const
{
    if (!key_)
        ReadError(name);
    RegValue value;
    DWORD size = 0;
    LSTATUS rc = RegQueryValueExW(key_, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    if (rc != ERROR_SUCCESS)
        ReadError(name);
    // The value may grow between the size query and the read: ask again with the new size.
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        value.data.assign(size + sizeof(wchar_t), 0);
        DWORD got = static_cast<DWORD>(value.data.size());
        rc = RegQueryValueExW(key_, name.c_str(), nullptr, &value.type, value.data.data(), &got);
        if (rc == ERROR_SUCCESS) {
            value.data.resize(std::min<size_t>(got, value.data.size()));
            return value;
        }
        if (rc == ERROR_FILE_NOT_FOUND)
            return std::nullopt;
        if (rc != ERROR_MORE_DATA)
            break;
        size = std::max<DWORD>(got, size * 2);
    }
    ReadError(name);
}

std::wstring TNTRegistry::ReadString(const std::wstring& name) const
{
    std::optional<RegValue> value = ReadValue(name);
    if (!value)
        return {};
    if (!IsText(value->type))
        ReadError(name);
    // Stored strings need not end in a NUL, and an odd last byte is dropped.
    std::wstring text(value->data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), value->data.data(), text.size() * sizeof(wchar_t));
    size_t end = text.find(L'\0');
    if (end != std::wstring::npos)
        text.resize(end);
    return text;
}

uint32_t TNTRegistry::ReadInteger(const std::wstring& name) const
{
    std::optional<RegValue> value = ReadValue(name);
    if (!value || value->type != REG_DWORD || value->data.size() != sizeof(uint32_t))
        ReadError(name);
    uint32_t result = 0;
    std::memcpy(&result, value->data.data(), sizeof result);
    return result;
}

std::vector<BYTE> TNTRegistry::ReadBinary(const std::wstring& name) const
{
    std::optional<RegValue> value = ReadValue(name);
    if (!value)
        return {};
    if (IsText(value->type) || value->type == REG_DWORD)
        ReadError(name);
    return value->data;
}

void TNTRegistry::WriteValue(const std::wstring& name, DWORD type, const std::vector<BYTE>& data)
{
    if (!key_ || data.size() > MAXDWORD)
        WriteError(name);
    if (RegSetValueExW(key_, name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                       static_cast<DWORD>(data.size())) != ERROR_SUCCESS)
        WriteError(name);
}

void TNTRegistry::WriteString(const std::wstring& name, const std::wstring& value)
{
    WriteValue(name, REG_SZ, TextBytes(value));
}

void TNTRegistry::WriteExpandString(const std::wstring& name, const std::wstring& value)
{
    WriteValue(name, REG_EXPAND_SZ, TextBytes(value));
}

void TNTRegistry::WriteInteger(const std::wstring& name, uint32_t value)
{
    std::vector<BYTE> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    WriteValue(name, REG_DWORD, bytes);
}

void TNTRegistry::WriteBinary(const std::wstring& name, const std::vector<BYTE>& value)
{
    WriteValue(name, REG_BINARY, value);
}

bool TNTRegistry::ValueExists(const std::wstring& name) const { return GetValueInfo(name).has_value(); }

std::optional<RegValueInfo> TNTRegistry::GetValueInfo(const std::wstring& name) const
{
    if (!key_)
        return std::nullopt;
    RegValueInfo info;
    if (RegQueryValueExW(key_, name.c_str(), nullptr, &info.type, nullptr, &info.size) != ERROR_SUCCESS)
        return std::nullopt;
    return info;
}

std::vector<std::wstring> TNTRegistry::GetValueNames() const
{
    if (!key_)
        return {};
    DWORD maxChars = 0;
    RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &maxChars, nullptr,
                     nullptr, nullptr);
    HKEY key = key_;
    return EnumNames(maxChars, [key](DWORD index, wchar_t* buffer, DWORD* length) {
        return RegEnumValueW(key, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::vector<std::wstring> TNTRegistry::GetKeyNames() const
{
    if (!key_)
        return {};
    return SubKeyNames(key_);
}

bool TNTRegistry::HasSubKeys() const
{
    DWORD count = 0;
    return key_ && RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
           count > 0;
}

bool TNTRegistry::DeleteValue(const std::wstring& name)
{
    return key_ && RegDeleteValueW(key_, name.c_str()) == ERROR_SUCCESS;
}

bool TNTRegistry::KeyExists(const std::wstring& path) const
{
    HKEY key = nullptr;
    LSTATUS rc = RegOpenKeyExW(root_, KeyPath(path).c_str(), 0, KEY_READ, &key);
    if (rc == ERROR_SUCCESS)
        RegCloseKey(key);
    return rc == ERROR_SUCCESS || rc == ERROR_ACCESS_DENIED;
}

bool TNTRegistry::DeleteKey(const std::wstring& path)
{
    const std::wstring subKey = KeyPath(path);
    // An empty path would name the root key itself.
    if (subKey.empty())
        return false;
    return DeleteTree(root_, subKey);
}

}  // namespace platform
