#include <windows.h>

#include <memory>
#include <vector>

#include "app/command_line.h"
#include "app/preview.h"
#include "app/program.h"

namespace {

std::wstring ProgramFile()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size())
            return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::vector<std::wstring> arguments = app::ProcessArguments();
    const app::StartKind kind = app::ParseStartKind(arguments);
    if (kind == app::StartKind::Preview)
        return app::RunPreviewCommand(ProgramFile(), arguments);
    auto program = std::make_unique<app::TProgram>(ProgramFile());
    return program->Run(kind);
}
