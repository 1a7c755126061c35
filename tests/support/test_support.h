// Helpers shared by the tests: per-test folders and registry keys, small file fixtures,
// child processes. Everything runs inside the test prefix under Wine.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace testing_support {

// A fresh, empty folder for the running test: C:\tidymate-tests\<Suite>.<Test>\ (trailing backslash).
std::wstring TestDir();

// A fresh, empty registry key path (relative to HKEY_CURRENT_USER) for the running test.
std::wstring TestRegKey();

// Deletes a folder with everything in it (attributes cleared first); no error when absent.
void RemoveTree(const std::wstring& path);

// Writes bytes to a file, creating its folders; throws std::runtime_error on failure.
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// Reads a whole file; throws std::runtime_error when it cannot be opened.
std::string ReadFileBytes(const std::wstring& path);

bool FileExists(const std::wstring& path);

// Sets the last-write time of a file or folder to `days` days before now; throws
// std::runtime_error on failure.
void SetAge(const std::wstring& path, int days);
// WriteFileBytes, then SetAge.
void WriteAgedFile(const std::wstring& path, const std::string& bytes, int days);

// Sets an environment variable of this process (child processes inherit it) and puts the old
// value back when it goes.
class TEnvironmentGuard {
public:
    TEnvironmentGuard(std::wstring name, const std::wstring& value);
    ~TEnvironmentGuard();
    TEnvironmentGuard(const TEnvironmentGuard&) = delete;
    TEnvironmentGuard& operator=(const TEnvironmentGuard&) = delete;

private:
    std::wstring name_;
    std::optional<std::wstring> saved_;
};

// Runs a command line, waits up to timeoutMs and returns its exit code (-1 on time-out,
// after which the process is killed).
int RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000, const std::wstring& workingDir = L"");

// The path of Tidymate.exe inside the prefix (from the TIDYMATE_EXE variable).
std::wstring TidymateExe();

// UTF-8 <-> UTF-16 for test literals and file contents.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& text);

}  // namespace testing_support
