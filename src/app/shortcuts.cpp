#include "app/shortcuts.h"

#include <windows.h>

#include "platform/path_util.h"

namespace app {

namespace {

bool IsFile(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void MakeShortcut(platform::TPBShellLink& link, const std::optional<std::wstring>& target,
                  const std::optional<std::wstring>& arguments, const std::optional<std::wstring>& description,
                  const std::wstring& linkFile, bool modifyExisting)
{
    platform::TPBShellLink updated = link;
    if (modifyExisting && IsFile(linkFile)) {
        updated.SetFileName(linkFile);
        updated.ReadLink();
        if (target) {
            updated.SetTarget(*target);
            updated.SetWorkingDir(platform::FolderPart(*target));
        }
        if (arguments)
            updated.SetArguments(*arguments);
        if (description)
            updated.SetDescription(*description);
    } else {
        updated.SetTarget(target.value_or(L""));
        updated.SetArguments(arguments.value_or(L""));
        updated.SetDescription(description.value_or(L""));
        updated.SetFileName(linkFile);
        updated.SetWorkingDir(platform::FolderPart(target.value_or(L"")));
    }
    updated.WriteLink();
    link = std::move(updated);
}

std::wstring CheckTarget(platform::TPBShellLink& link, const std::wstring& linkFile)
{
    if (!IsFile(linkFile))
        return L"";
    try {
        link.SetFileName(linkFile);
        link.ReadLink();
        return link.Target();
    } catch (const std::exception&) {
        return L"错误";
    }
}

}  // namespace app
