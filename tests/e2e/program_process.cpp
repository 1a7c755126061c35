#include "e2e/program_process.h"

#include <stdexcept>
#include <vector>

#include "support/test_support.h"

namespace e2e {

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr)
        return TRUE;
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (std::wstring(title) != L"Kelvo Tidymate")
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::wstring ProgramPath(const std::wstring& folder) { return folder + L"Tidymate.exe"; }

ProgramProcess::ProgramProcess(const std::wstring& folder, const std::wstring& arguments)
{
    const std::wstring exe = ProgramPath(folder);
    if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !CopyFileW(testing_support::TidymateExe().c_str(), exe.c_str(), TRUE))
        throw std::runtime_error("cannot copy Tidymate.exe");
    std::wstring line = L"\"" + exe + L"\"";
    if (!arguments.empty())
        line += L" " + arguments;
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process_))
        throw std::runtime_error("cannot start Tidymate.exe");
}

ProgramProcess::~ProgramProcess()
{
    if (Running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

int ProgramProcess::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

bool ProgramProcess::Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

HWND ProgramProcess::WaitForMainWindow(DWORD timeoutMs) const
{
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        WindowSearch search{process_.dwProcessId, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
        if (!Running())
            return nullptr;
        Sleep(100);
    } while (GetTickCount64() < end);
    return nullptr;
}

int ProgramProcess::Close(DWORD timeoutMs)
{
    HWND window = WaitForMainWindow(0);
    if (window != nullptr)
        PostMessageW(window, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

}  // namespace e2e
