#include "support/test_support.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <stdexcept>
#include <vector>

namespace testing_support {

namespace {

std::wstring CurrentTestName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "no-test";
    for (char& c : name) {
        if (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '<' || c == '>' || c == '|' || c == '"')
            c = '_';
    }
    return Wide(name);
}

void DeleteRegTree(HKEY root, const std::wstring& path)
{
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, path.c_str());
}

}  // namespace

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void RemoveTree(const std::wstring& path)
{
    std::wstring base = path;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    DWORD attributes = GetFileAttributesW(base.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(base.c_str(), FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        if (!DeleteFileW(base.c_str()))
            RemoveDirectoryW(base.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((base + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            RemoveTree(base + L"\\" + name);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(base.c_str());
}

std::wstring TestDir()
{
    std::wstring dir = L"C:\\tidymate-tests\\" + CurrentTestName();
    RemoveTree(dir);
    SHCreateDirectoryExW(nullptr, dir.c_str(), nullptr);
    return dir + L"\\";
}

std::wstring TestRegKey()
{
    std::wstring key = L"Software\\TidymateTests\\" + CurrentTestName();
    DeleteRegTree(HKEY_CURRENT_USER, key);
    return key;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + Utf8(path));
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size())
        throw std::runtime_error("cannot write " + Utf8(path));
}

void SetAge(const std::wstring& path, int days)
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
    ticks.QuadPart -= static_cast<ULONGLONG>(days) * 24 * 3600 * 10'000'000ULL;
    const FILETIME written{ticks.LowPart, ticks.HighPart};
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + Utf8(path));
    const BOOL done = SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    if (!done)
        throw std::runtime_error("cannot date " + Utf8(path));
}

void WriteAgedFile(const std::wstring& path, const std::string& bytes, int days)
{
    WriteFileBytes(path, bytes);
    SetAge(path, days);
}

TEnvironmentGuard::TEnvironmentGuard(std::wstring name, const std::wstring& value) : name_(std::move(name))
{
    std::wstring buffer(32767, L'\0');
    const DWORD n = GetEnvironmentVariableW(name_.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n > 0 && n < buffer.size())
        saved_ = buffer.substr(0, n);
    SetEnvironmentVariableW(name_.c_str(), value.c_str());
}

TEnvironmentGuard::~TEnvironmentGuard() { SetEnvironmentVariableW(name_.c_str(), saved_ ? saved_->c_str() : nullptr); }

std::string ReadFileBytes(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + Utf8(path));
    std::string out;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        out.append(buffer, got);
    CloseHandle(file);
    return out;
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int RunProcess(const std::wstring& commandLine, DWORD timeoutMs, const std::wstring& workingDir)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &process))
        throw std::runtime_error("cannot start " + Utf8(commandLine));
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::wstring TidymateExe()
{
    wchar_t buffer[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"TIDYMATE_EXE", buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return L"C:\\tidymate-bin\\Tidymate.exe";
    return buffer;
}

}  // namespace testing_support
