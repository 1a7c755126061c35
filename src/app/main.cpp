#include <windows.h>

#include <memory>
#include <vector>

#include "app/command_line.h"
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
    auto program = std::make_unique<app::TProgram>(ProgramFile());
    return program->Run(app::ParseStartKind(app::ProcessArguments()));
}
