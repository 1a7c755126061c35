#include "registry/reg_removal.h"

#include <shlwapi.h>

#include "platform/errors.h"
#include "platform/text.h"
#include "registry/reg_backup_file.h"
#include "registry/reg_format.h"
#include "registry/reg_key.h"
#include "registry/reg_protected.h"
#include "registry/reg_roots.h"

namespace registry {

namespace {

const wchar_t kValueSeparator[] = L"\\\\:";
const wchar_t kLineBreak[] = L"\r\n";

// Empties the pending backup text when a call ends, also by an exception.
class PendingGuard {
public:
    explicit PendingGuard(std::wstring& text) : text_(text) {}
    ~PendingGuard() { text_.clear(); }

private:
    std::wstring& text_;
};

bool IsMissing(LONG error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

// Root name at the start of an item, in the exact letter case of the table.
HKEY ItemRoot(const std::wstring& item, std::wstring& rootName, std::wstring& rest)
{
    std::wstring path = item;
    HKEY root = RootStToRoot(path, rootName);
    if (!root || item.compare(0, rootName.size(), rootName) != 0)
        return nullptr;
    rest = path;
    return root;
}

std::wstring WithoutTrailingSlashes(std::wstring text)
{
    while (!text.empty() && text.back() == L'\\')
        text.pop_back();
    return text;
}

void AppendLines(std::wstring& text, const std::vector<std::wstring>& lines)
{
    for (const std::wstring& line : lines)
        text += kLineBreak + line;
}

// The blocks of a key and of everything under it, parents first. False when anything cannot be
// read, or cannot be written to the file exactly.
bool AppendTreeBlocks(HKEY root, const std::wstring& apiPath, const std::wstring& keyLine, std::wstring& text)
{
    RegKey key;
    if (key.Open(root, apiPath, KEY_READ) != ERROR_SUCCESS || !platform::FitsAnsi(keyLine))
        return false;
    text += kLineBreak + (L"[" + keyLine + L"]");
    for (const std::wstring& name : key.ValueNames()) {
        RegValue value;
        LONG error = key.Read(name, value);
        if (IsMissing(error))
            continue;
        if (error != ERROR_SUCCESS)
            return false;
        auto lines = BackupValueLines(name, value);
        if (!lines)
            return false;
        AppendLines(text, *lines);
    }
    for (const std::wstring& subkey : key.SubkeyNames()) {
        if (text.size() < 2 || text.compare(text.size() - 2, 2, kLineBreak) != 0)
            text += kLineBreak;
        if (!AppendTreeBlocks(root, apiPath + L"\\" + subkey, keyLine + L"\\" + subkey, text))
            return false;
    }
    return true;
}

}  // namespace

std::wstring ValueNameOfItemPart(const std::wstring& valuePart)
{
    std::wstring name;
    size_t quotedEnd = valuePart.empty() || valuePart[0] != L'"' ? std::wstring::npos : valuePart.find(L"\"=", 1);
    if (quotedEnd != std::wstring::npos) {
        name = valuePart.substr(1, quotedEnd - 1);
    } else {
        name = valuePart.substr(0, valuePart.find(L'='));
        if (name.size() >= 2 && name.front() == L'"' && name.back() == L'"')
            name = name.substr(1, name.size() - 2);
    }
    if (name == L"@")
        return {};
    for (size_t at = name.find(L"\"\""); at != std::wstring::npos; at = name.find(L"\"\"", at + 1))
        name.erase(at, 1);
    return name;
}

RegistryRemover::RegistryRemover(int osKind, std::wstring backupPath, FindingSink addFinding, StopCheck stopRequested)
    : osKind_(osKind),
      backupPath_(std::move(backupPath)),
      addFinding_(std::move(addFinding)),
      stopRequested_(std::move(stopRequested))
{
}

void RegistryRemover::WriteReg(const std::wstring& text) const { registry::WriteReg(backupPath_, osKind_, text); }

void RegistryRemover::WritePending()
{
    try {
        WriteReg(pendingRegText_);
    } catch (const platform::AppError& error) {
        throw platform::AppError(error.message() + L"\n注册表项目没有被删除.");
    }
    pendingRegText_.clear();
}

bool RegistryRemover::RemoveRegistryKey(const std::wstring& item, bool listMode)
{
    PendingGuard guard(pendingRegText_);
    if (Stopped())
        return false;
    std::wstring rootName;
    std::wstring keyPath;
    HKEY root = ItemRoot(item, rootName, keyPath);
    if (!root)
        return false;
    if (listMode)
        return ListKey(root, WithoutTrailingSlashes(keyPath), WithoutTrailingSlashes(item));
    const size_t separator = keyPath.find(kValueSeparator);
    if (separator != std::wstring::npos) {
        return DeleteValueItem(root, rootName, WithoutTrailingSlashes(keyPath.substr(0, separator)),
                               keyPath.substr(separator + 3));
    }
    return DeleteWholeKey(root, rootName, WithoutTrailingSlashes(keyPath));
}

bool RegistryRemover::ListKey(HKEY root, const std::wstring& keyPath, const std::wstring& item)
{
    std::vector<std::wstring> valueNames;
    std::vector<std::wstring> subkeyNames;
    {
        RegKey key;
        if (key.Open(root, ApiKeyPath(keyPath), KEY_READ) != ERROR_SUCCESS)
            return false;
        valueNames = key.ValueNames();
        subkeyNames = key.SubkeyNames();
    }
    for (const std::wstring& name : valueNames) {
        if (!RemoveRegistryValue(root, keyPath, true, false, name))
            return false;
    }
    for (const std::wstring& subkey : subkeyNames) {
        if (!RemoveRegistryKey(item + L"\\" + subkey, true))
            return false;
    }
    if (IsProtectedKey(root, keyPath))
        return false;
    if (!IsUnlistedKey(root, keyPath) && addFinding_)
        addFinding_(item);
    return true;
}

bool RegistryRemover::DeleteValueItem(HKEY root, const std::wstring& rootName, const std::wstring& keyPath,
                                      const std::wstring& valuePart)
{
    pendingRegText_ += kLineBreak + (L"[" + rootName + keyPath + L"]");
    const bool removed = RemoveRegistryValue(root, keyPath, false, false, ValueNameOfItemPart(valuePart));
    // A value that was already gone leaves its key line unwritten: nothing was deleted.
    pendingRegText_.clear();
    return removed;
}

bool RegistryRemover::DeleteWholeKey(HKEY root, const std::wstring& rootName, const std::wstring& keyPath)
{
    const std::wstring apiPath = ApiKeyPath(keyPath);
    // Never a whole root, and never a key holding a protected entry.
    if (apiPath.empty() || HoldsProtectedEntry(root, keyPath))
        return false;
    {
        RegKey key;
        LONG error = key.Open(root, apiPath, KEY_READ);
        if (IsMissing(error))
            return false;
        if (error != ERROR_SUCCESS) {
            ++notDeleted_;
            return false;
        }
    }
    if (!AppendTreeBlocks(root, apiPath, rootName + keyPath, pendingRegText_)) {
        ++notDeleted_;
        return false;
    }
    WritePending();
    if (SHDeleteKeyW(root, apiPath.c_str()) != ERROR_SUCCESS) {
        ++notDeleted_;
        return false;
    }
    return true;
}

bool RegistryRemover::RemoveRegistryValue(HKEY root, const std::wstring& keyPath, bool listMode, bool withKeyLine,
                                          const std::wstring& name)
{
    if (Stopped())
        return false;
    const bool standAlone = pendingRegText_.empty();
    PendingGuard guard(pendingRegText_);
    if (IsProtectedValue(root, keyPath, name))
        return listMode;
    RegKey key;
    LONG error = key.Open(root, ApiKeyPath(keyPath), listMode ? KEY_READ : KEY_QUERY_VALUE | KEY_SET_VALUE);
    RegValue value;
    if (error == ERROR_SUCCESS)
        error = key.Read(name, value);
    if (IsMissing(error) || (listMode && error != ERROR_SUCCESS))
        return true;
    if (error != ERROR_SUCCESS) {
        ++notDeleted_;
        return false;
    }
    const std::wstring rootName = RootName(root);
    if (listMode) {
        if (addFinding_)
            addFinding_(rootName + keyPath + kValueSeparator + NameField(name) + L"=" + ShownData(value));
        return true;
    }
    const std::wstring keyLine = L"[" + rootName + keyPath + L"]";
    auto lines = BackupValueLines(name, value);
    // A block always starts with its key line, so a stand-alone call writes one too.
    if (withKeyLine || standAlone)
        pendingRegText_ += kLineBreak + keyLine;
    if (!lines || !platform::FitsAnsi(pendingRegText_)) {
        ++notDeleted_;
        return false;
    }
    AppendLines(pendingRegText_, *lines);
    WritePending();
    if (key.DeleteValue(name) != ERROR_SUCCESS) {
        ++notDeleted_;
        return false;
    }
    return true;
}

}  // namespace registry
