// Text conversion between the program's wide strings and the files it keeps in the
// system code page 936 (settings, skip list, folder lists, registry backups).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Code page of the program's text files.
constexpr unsigned kTextCodePage = 936;

// Wide text to code page 936. Characters that the code page cannot hold become '?'.
std::string ToAnsi(const std::wstring& text);
// Code page 936 bytes to wide text.
std::wstring FromAnsi(const std::string& bytes);
// True when every character of the text survives a round trip through code page 936.
bool FitsAnsi(const std::wstring& text);

std::wstring FromUtf8(const std::string& bytes);
std::string ToUtf8(const std::wstring& text);

// Upper case with the system's rules (used for case-insensitive path comparisons).
std::wstring Upper(const std::wstring& text);
// Case-insensitive equality of two texts.
bool SameText(const std::wstring& a, const std::wstring& b);

// Splits text into lines at CR LF, LF or CR; a final line break gives no empty last line.
std::vector<std::wstring> SplitLines(const std::wstring& text);

// Reads a code page 936 text file as lines. Empty optional when the file cannot be opened.
std::optional<std::vector<std::wstring>> ReadTextLines(const std::wstring& path);

// Writes lines in code page 936, each ended by CR LF, through a temporary file in the same
// folder that then replaces the target, so a crash leaves the old file or the new one.
// Throws std::system_error (with a readable message) when the file cannot be written.
void WriteTextLinesAtomic(const std::wstring& path, const std::vector<std::wstring>& lines);

// Writes bytes to `path` through a temporary file and an atomic replace, flushed to disk.
void WriteFileAtomic(const std::wstring& path, const std::string& bytes);

// Appends lines (CR LF each, code page 936) to a file, creating it when missing.
void AppendTextLines(const std::wstring& path, const std::vector<std::wstring>& lines);

}  // namespace platform
