#include "platform/folder_dialog.h"

#include <objbase.h>
#include <shlobj.h>

namespace platform {

namespace {

int CALLBACK PresetFolder(HWND dialog, UINT message, LPARAM, LPARAM preset)
{
    if (message == BFFM_INITIALIZED && preset)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, preset);
    return 0;
}

}  // namespace

std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& caption, const std::wstring& preset)
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = caption.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = PresetFolder;
    info.lParam = preset.empty() ? 0 : reinterpret_cast<LPARAM>(preset.c_str());
    std::optional<std::wstring> chosen;
    if (PIDLIST_ABSOLUTE folder = SHBrowseForFolderW(&info)) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(folder, path))
            chosen = path;
        CoTaskMemFree(folder);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return chosen;
}

}  // namespace platform
