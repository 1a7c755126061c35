// TNTRegistry: one opened registry key with typed reads and writes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, ... and the short forms HKCU, HKLM, HKCR, HKU, HKCC
// (case ignored). nullptr for any other text.
HKEY RootKeyFromName(const std::wstring& name);
// The full name of a predefined root key ("HKEY_CURRENT_USER"); "" for any other handle.
std::wstring RootKeyName(HKEY root);

// Access masks tried, in this order, when a key is opened without creating it.
inline constexpr REGSAM kOpenAccessOrder[] = {
    KEY_ALL_ACCESS,
    KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE,
    KEY_READ,
};

// One value as stored: its type and raw bytes.
struct RegValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct RegValueInfo {
    DWORD type = REG_NONE;
    DWORD size = 0;  // bytes
};

// Key paths are relative to the root key; a leading backslash is allowed ("\Software\X").
// Typed reads raise AppError "获取数据 '<name>' 失败", writes "设置数据 '<name>' 失败".
class TNTRegistry {
public:
    // The call used to open existing keys (RegOpenKeyExW's signature); tests replace it.
    using OpenFunction = std::function<LSTATUS(HKEY, const wchar_t*, REGSAM, HKEY*)>;

    explicit TNTRegistry(HKEY root = HKEY_CURRENT_USER);
    ~TNTRegistry();
    TNTRegistry(const TNTRegistry&) = delete;
    TNTRegistry& operator=(const TNTRegistry&) = delete;

    HKEY RootKey() const { return root_; }
    // Closes the open key and selects another root.
    void SetRootKey(HKEY root);
    void SetOpenFunction(OpenFunction open) { open_ = std::move(open); }

    // Opens an existing key without creating it: full access, then read + create-subkey +
    // set-value, then read-only. False when the key does not exist or cannot be opened.
    bool OpenKey(const std::wstring& path);
    // Opens the key, creating it and its parents when missing (for writers).
    bool CreateKey(const std::wstring& path);
    void CloseKey();

    bool IsOpen() const { return key_ != nullptr; }
    HKEY CurrentKey() const { return key_; }
    const std::wstring& CurrentPath() const { return path_; }
    // The access that the open key was granted (0 when none is open).
    REGSAM Access() const { return access_; }

    // Reads of the open key. A missing value reads as empty text or no bytes; a missing
    // integer, a value of another type or a failed query raises.
    std::wstring ReadString(const std::wstring& name) const;  // REG_SZ or REG_EXPAND_SZ, unexpanded
    uint32_t ReadInteger(const std::wstring& name) const;     // REG_DWORD
    std::vector<BYTE> ReadBinary(const std::wstring& name) const;  // REG_BINARY (or any non-text type)
    // The value as stored; empty when missing. Raises only on other failures.
    std::optional<RegValue> ReadValue(const std::wstring& name) const;

    void WriteString(const std::wstring& name, const std::wstring& value);
    void WriteExpandString(const std::wstring& name, const std::wstring& value);
    void WriteInteger(const std::wstring& name, uint32_t value);
    void WriteBinary(const std::wstring& name, const std::vector<BYTE>& value);
    void WriteValue(const std::wstring& name, DWORD type, const std::vector<BYTE>& data);

    bool ValueExists(const std::wstring& name) const;
    std::optional<RegValueInfo> GetValueInfo(const std::wstring& name) const;
    std::vector<std::wstring> GetValueNames() const;
    std::vector<std::wstring> GetKeyNames() const;
    bool HasSubKeys() const;
    bool DeleteValue(const std::wstring& name);

    // Whole-key operations on paths under the root; they do not need an open key.
    bool KeyExists(const std::wstring& path) const;
    // Deletes the key with all its subkeys. True when the key is gone afterwards.
    bool DeleteKey(const std::wstring& path);

private:
    [[noreturn]] static void ReadError(const std::wstring& name);
    [[noreturn]] static void WriteError(const std::wstring& name);

    HKEY root_;
    HKEY key_ = nullptr;
    std::wstring path_;
    REGSAM access_ = 0;
    OpenFunction open_;
};

}  // namespace platform
