// Runs Tidymate.exe as a real process from a folder of its own, and finds its main window.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

class ProgramProcess {
public:
    // Copies Tidymate.exe into `folder` (once) and starts it there with `arguments`.
    ProgramProcess(const std::wstring& folder, const std::wstring& arguments);
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Waits for the process to end; its exit code, or -1 when it is still running.
    int WaitForExit(DWORD timeoutMs);
    bool Running() const;
    DWORD ProcessId() const { return process_.dwProcessId; }
    // The visible main window, waiting for it up to timeoutMs; nullptr when none appears.
    HWND WaitForMainWindow(DWORD timeoutMs) const;
    // Closes the main window the way the user would and waits for the process to end.
    int Close(DWORD timeoutMs = 20000);

private:
    PROCESS_INFORMATION process_{};
};

std::wstring ProgramPath(const std::wstring& folder);

}  // namespace e2e
