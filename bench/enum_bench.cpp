// Two helpers for the scan benchmark, timed inside Wine.
//   enum_bench.exe enum ROOT                  bare FindFirstFileExW recursion over ROOT;
//                                             prints: ms files folders
//   enum_bench.exe run TEMPDIR CMDLINE...     starts CMDLINE with TEMP and TMP set to TEMPDIR
//                                             and waits; prints: ms exit_code
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

double Milliseconds(const LARGE_INTEGER& start, const LARGE_INTEGER& end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Enumerate(const std::wstring& folder, long& files, long& folders)
{
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (data.cFileName[0] == L'.' &&
                (data.cFileName[1] == 0 || (data.cFileName[1] == L'.' && data.cFileName[2] == 0)))
                continue;
            ++folders;
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                Enumerate(folder + data.cFileName + L"\\", files, folders);
        } else {
            ++files;
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

int Enum(std::wstring root)
{
    if (root.empty() || root.back() != L'\\')
        root += L'\\';
    long files = 0, folders = 0;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    Enumerate(root, files, folders);
    QueryPerformanceCounter(&end);
    std::printf("%.0f %ld %ld\n", Milliseconds(start, end), files, folders);
    return 0;
}

int Run(const wchar_t* tempDir, int count, wchar_t** arguments)
{
    std::wstring commandLine;
    for (int i = 0; i < count; ++i)
        commandLine += (i ? L" \"" : L"\"") + std::wstring(arguments[i]) + L"\"";
    SetEnvironmentVariableW(L"TEMP", tempDir);
    SetEnvironmentVariableW(L"TMP", tempDir);
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start: error %lu\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&end);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    std::printf("%.0f %lu\n", Milliseconds(start, end), exitCode);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && std::wstring(argv[1]) == L"enum")
        return Enum(argv[2]);
    if (argc >= 4 && std::wstring(argv[1]) == L"run")
        return Run(argv[2], argc - 3, argv + 3);
    std::fprintf(stderr, "usage: enum_bench enum ROOT | enum_bench run TEMPDIR CMDLINE...\n");
    return 2;
}
