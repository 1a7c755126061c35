#include "app/command_line.h"

#include <windows.h>

#include <shellapi.h>

namespace app {

StartKind ParseStartKind(const std::vector<std::wstring>& arguments)
{
    if (arguments.empty())
        return StartKind::Interactive;
    if (arguments.front() == L"schedule")
        return StartKind::Schedule;
    if (arguments.front() == L"bootup")
        return StartKind::Bootup;
    if (arguments.front() == L"preview")
        return StartKind::Preview;
    return StartKind::Interactive;
}

std::vector<std::wstring> ProcessArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    if (list == nullptr)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(list[i]);
    LocalFree(list);
    return arguments;
}

}  // namespace app
