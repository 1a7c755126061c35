// Helpers shared by the tests: per-test folders and registry keys, small file fixtures,
// child processes. Everything runs inside the test prefix under Wine.
#pragma once

#include <windows.h>

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

// Runs a command line, waits up to timeoutMs and returns its exit code (-1 on time-out,
// after which the process is killed).
int RunProcess(const std::wstring& commandLine, DWORD timeoutMs = 60000, const std::wstring& workingDir = L"");

// The path of Tidymate.exe inside the prefix (from the TIDYMATE_EXE variable).
std::wstring TidymateExe();

// UTF-8 <-> UTF-16 for test literals and file contents.
std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& text);

}  // namespace testing_support
