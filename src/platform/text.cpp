#include "platform/text.h"

#include <windows.h>

#include <system_error>

namespace platform {

namespace {

std::wstring Decode(unsigned codePage, const std::string& bytes)
{
    if (bytes.empty())
        return {};
    int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::string Encode(unsigned codePage, const std::wstring& text, BOOL* usedDefault)
{
    if (text.empty())
        return {};
    const bool utf8 = codePage == CP_UTF8;
    int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                utf8 ? nullptr : usedDefault);
    std::string out(n, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, utf8 ? nullptr : "?",
                        utf8 ? nullptr : usedDefault);
    return out;
}

[[noreturn]] void ThrowFileError(DWORD error, const std::wstring& path, const char* what)
{
    throw std::system_error(static_cast<int>(error), std::system_category(),
                            std::string(what) + " '" + ToUtf8(path) + "'");
}

std::wstring TempNameBeside(const std::wstring& path)
{
    return path + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
}

}  // namespace

std::string ToAnsi(const std::wstring& text)
{
    BOOL usedDefault = FALSE;
    return Encode(kTextCodePage, text, &usedDefault);
}

std::wstring FromAnsi(const std::string& bytes) { return Decode(kTextCodePage, bytes); }

bool FitsAnsi(const std::wstring& text)
{
    BOOL usedDefault = FALSE;
    std::string bytes = Encode(kTextCodePage, text, &usedDefault);
    return !usedDefault && Decode(kTextCodePage, bytes) == text;
}

std::wstring FromUtf8(const std::string& bytes) { return Decode(CP_UTF8, bytes); }
std::string ToUtf8(const std::wstring& text) { return Encode(CP_UTF8, text, nullptr); }

std::wstring Upper(const std::wstring& text)
{
    std::wstring out = text;
    if (!out.empty())
        CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    return out;
}

bool SameText(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && Upper(a) == Upper(b);
}

std::vector<std::wstring> SplitLines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    std::wstring current;
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            lines.push_back(current);
            current.clear();
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else {
            current += c;
        }
    }
    if (!current.empty())
        lines.push_back(current);
    return lines;
}

std::optional<std::vector<std::wstring>> ReadTextLines(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return SplitLines(FromAnsi(bytes));
}

void WriteFileAtomic(const std::wstring& path, const std::string& bytes)
{
    // Windows refuses to replace a read-only file; Wine would replace it, so ask first.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ThrowFileError(ERROR_ACCESS_DENIED, path, "Cannot create file");
    const std::wstring temp = TempNameBeside(path);
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        ThrowFileError(GetLastError(), path, "Cannot create file");
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    DWORD error = GetLastError();
    if (ok && written != bytes.size()) {
        ok = FALSE;
        error = ERROR_DISK_FULL;
    }
    if (ok && !FlushFileBuffers(file)) {
        ok = FALSE;
        error = GetLastError();
    }
    CloseHandle(file);
    if (!ok) {
        DeleteFileW(temp.c_str());
        ThrowFileError(error, path, "Cannot write file");
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        DeleteFileW(temp.c_str());
        ThrowFileError(error, path, "Cannot create file");
    }
}

void WriteTextLinesAtomic(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines) {
        text += line;
        text += L"\r\n";
    }
    WriteFileAtomic(path, ToAnsi(text));
}

void AppendTextLines(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    std::wstring text;
    for (const std::wstring& line : lines) {
        text += line;
        text += L"\r\n";
    }
    const std::string bytes = ToAnsi(text);
    HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        ThrowFileError(GetLastError(), path, "Cannot create file");
    DWORD written = 0;
    BOOL ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    DWORD error = GetLastError();
    if (ok)
        FlushFileBuffers(file);
    CloseHandle(file);
    if (!ok || written != bytes.size())
        ThrowFileError(ok ? ERROR_DISK_FULL : error, path, "Cannot write file");
}

}  // namespace platform
