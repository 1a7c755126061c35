#include "platform/shell_link.h"

#include <commctrl.h>
#include <objidl.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <cstring>
#include <optional>
#include <vector>

#include "platform/path_util.h"

namespace platform {

namespace {

const wchar_t kShellFoldersKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Registry value names, in TShellFolder order.
const wchar_t* const kShellFolderValues[] = {
    L"",       L"Desktop", L"Favorites",  L"Fonts",   L"Personal",  L"Programs",
    L"Recent", L"SendTo",  L"Start Menu", L"Startup", L"Templates",
};
static_assert(std::size(kShellFolderValues) == sfTemplates + 1);

std::wstring TooLongMessage()
{
    return L"快捷方式的文本过长 (最多 " + std::to_wstring(kMaxLinkText) + L" 个字符).";
}

void CheckLength(const std::wstring& text)
{
    if (text.size() > kMaxLinkText)
        throw EPBShellLink(TooLongMessage());
}

// COM for the calling thread, for the lifetime of one read or write.
class ComScope {
public:
    ComScope() : result_(CoInitialize(nullptr)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

template <class Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (pointer_)
            pointer_->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    void** Out() { return reinterpret_cast<void**>(&pointer_); }

private:
    Interface* pointer_ = nullptr;
};

// A shell link object and its file interface; released (then COM closed) in reverse order.
struct LinkObject {
    ComScope com;
    ComRef<IShellLinkW> link;
    ComRef<IPersistFile> file;

    LinkObject()
    {
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Out())))
            throw EPBShellLink(L"\"CoCreateInstance\" 失败.");
        if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out())))
            throw EPBShellLink(L"\"PersistFile QueryInterface\" 失败.");
    }
};

void CheckWrite(HRESULT result)
{
    if (FAILED(result))
        throw EPBShellLink(L"写入错误.");
}

// Reads one text through a getter with a buffer one wider than the longest text allowed,
// so a longer text shows up as too long instead of being cut short.
template <class Getter>
std::wstring ReadText(Getter get)
{
    wchar_t buffer[kMaxLinkText + 2] = {};
    get(buffer, static_cast<int>(std::size(buffer)));
    buffer[kMaxLinkText + 1] = L'\0';
    std::wstring text(buffer);
    CheckLength(text);
    return text;
}

// The show command from a link file's fixed header (76 bytes, beginning with its own size
// 0x4C, show command at offset 0x3C). Wine's link object does not load it from the file.
std::optional<int> ShowCommandInHeader(const std::wstring& name)
{
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BYTE header[0x4C] = {};
    DWORD read = 0;
    BOOL ok = ReadFile(file, header, sizeof(header), &read, nullptr);
    CloseHandle(file);
    DWORD headerSize = 0;
    int showCommand = 0;
    std::memcpy(&headerSize, header, sizeof(headerSize));
    std::memcpy(&showCommand, header + 0x3C, sizeof(showCommand));
    if (!ok || read != sizeof(header) || headerSize != sizeof(header))
        return std::nullopt;
    return showCommand;
}

bool IsFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring PlaceInShellFolder(TShellFolder folder, const std::wstring& fileName)
{
    std::wstring placed = ShellFolderPath(folder) + L"\\" + FilePart(fileName);
    CheckLength(placed);
    return placed;
}

}  // namespace

WORD HotKeyWord(const TShortCut& hotKey)
{
    BYTE modifiers = 0;
    if (hotKey.shift)
        modifiers |= HOTKEYF_SHIFT;
    if (hotKey.ctrl)
        modifiers |= HOTKEYF_CONTROL;
    if (hotKey.alt)
        modifiers |= HOTKEYF_ALT;
    return MAKEWORD(hotKey.key, modifiers);
}

TShortCut ShortCutFromWord(WORD raw)
{
    BYTE modifiers = HIBYTE(raw);
    return TShortCut{LOBYTE(raw), (modifiers & HOTKEYF_SHIFT) != 0, (modifiers & HOTKEYF_CONTROL) != 0,
                     (modifiers & HOTKEYF_ALT) != 0};
}

int ShowCommandFor(TWindowState state)
{
    switch (state) {
    case wsMinimized:
        return SW_SHOWMINNOACTIVE;
    case wsMaximized:
        return SW_SHOWMAXIMIZED;
    default:
        return SW_SHOWNORMAL;
    }
}

TWindowState WindowStateFor(int showCommand)
{
    if (showCommand == SW_SHOWMAXIMIZED)
        return wsMaximized;
    if (showCommand == SW_SHOWMINNOACTIVE)
        return wsMinimized;
    return wsNormal;
}

std::wstring ShellFolderPath(TShellFolder folder)
{
    if (folder == sfNone)
        return L"";
    const wchar_t* valueName = kShellFolderValues[folder];
    const std::wstring missing = L"无法读取系统文件夹 \"" + std::wstring(valueName) + L"\".";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kShellFoldersKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        throw EPBShellLink(missing);
    DWORD type = 0;
    DWORD bytes = 0;
    LSTATUS status = RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &bytes);
    std::vector<wchar_t> data(bytes / sizeof(wchar_t) + 1, L'\0');
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &bytes);
    RegCloseKey(key);
    std::wstring path(data.data());
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || path.empty())
        throw EPBShellLink(missing);
    return path;
}

void TPBShellLink::SetFileName(const std::wstring& value)
{
    if (value == fileName_)
        return;
    std::wstring name = shellFolder_ == sfNone ? value : PlaceInShellFolder(shellFolder_, value);
    CheckLength(name);
    fileName_ = std::move(name);
}

void TPBShellLink::SetShellFolder(TShellFolder folder)
{
    if (folder == shellFolder_)
        return;
    if (folder != sfNone)
        fileName_ = PlaceInShellFolder(folder, fileName_);
    shellFolder_ = folder;
}

void TPBShellLink::SetTarget(const std::wstring& value)
{
    CheckLength(value);
    target_ = value;
}

void TPBShellLink::SetWorkingDir(const std::wstring& value)
{
    CheckLength(value);
    workingDir_ = value;
}

void TPBShellLink::SetDescription(const std::wstring& value)
{
    CheckLength(value);
    description_ = value;
}

void TPBShellLink::SetArguments(const std::wstring& value)
{
    CheckLength(value);
    arguments_ = value;
}

void TPBShellLink::ReadLink()
{
    if (!IsFile(fileName_))
        throw EPBShellLink(L"链接未找到.");
    LoadFromFile(fileName_);
}

void TPBShellLink::WriteLink() const { SaveToFile(fileName_); }

void TPBShellLink::SaveToFile(const std::wstring& name) const
{
    CheckLength(name);
    LinkObject object;
    CheckWrite(object.link->SetDescription(description_.c_str()));
    CheckWrite(object.link->SetPath(target_.c_str()));
    CheckWrite(object.link->SetWorkingDirectory(workingDir_.c_str()));
    CheckWrite(object.link->SetArguments(arguments_.c_str()));
    CheckWrite(object.link->SetShowCmd(showCommand_));
    CheckWrite(object.link->SetHotkey(hotKey_));
    CheckWrite(object.file->Save(name.c_str(), TRUE));
}

void TPBShellLink::LoadFromFile(const std::wstring& name)
{
    CheckLength(name);
    LinkObject object;
    if (FAILED(object.file->Load(name.c_str(), STGM_READ)))
        throw EPBShellLink(L"读取错误.");
    IShellLinkW* link = object.link.get();
    std::wstring description = ReadText([&](wchar_t* buffer, int size) { link->GetDescription(buffer, size); });
    std::wstring target = ReadText([&](wchar_t* buffer, int size) {
        WIN32_FIND_DATAW findData{};
        link->GetPath(buffer, size, &findData, SLGP_UNCPRIORITY);
    });
    std::wstring workingDir = ReadText([&](wchar_t* buffer, int size) { link->GetWorkingDirectory(buffer, size); });
    std::wstring arguments = ReadText([&](wchar_t* buffer, int size) { link->GetArguments(buffer, size); });
    int showCommand = SW_SHOWNORMAL;
    link->GetShowCmd(&showCommand);
    showCommand = ShowCommandInHeader(name).value_or(showCommand);
    WORD hotKey = 0;
    link->GetHotkey(&hotKey);

    description_ = std::move(description);
    target_ = std::move(target);
    workingDir_ = std::move(workingDir);
    arguments_ = std::move(arguments);
    showCommand_ = showCommand;
    hotKey_ = hotKey;
}

}  // namespace platform
