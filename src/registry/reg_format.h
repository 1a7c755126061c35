// The text forms of registry values: shown data of findings and lines of the backup file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "registry/reg_key.h"

namespace registry {

// The two dialects of the backup file, told apart by their first line.
enum class RegFileFormat { Regedit4, Version5 };

// "REGEDIT4" for Windows 95 to NT 4 (codes 1 to 4), the version 5 header for every other code.
RegFileFormat FormatForOSKind(int osKind);
std::wstring HeaderLine(RegFileFormat format);

// Escapes string data: backslash, double quote, carriage return and line feed.
std::wstring ConvertSt(const std::wstring& text);

// The name field of an item text: the name between double quotes (not escaped), "@" when empty.
std::wstring NameField(const std::wstring& name);

// The data a finding shows: strings escaped, 32-bit numbers in signed decimal,
// a multi-string by its first string, anything else as "( 二进制数据 )".
std::wstring ShownData(const RegValue& value);

// The backup lines of one value, in a form that the registry import gives back exactly (name,
// type and data). Strings are quoted when they are plain text with one terminating null; other
// string data goes in hex(1)/hex(2)/hex(7) form as code page bytes, which the import widens.
// Hex forms end with an empty line. Empty optional when code page 936 cannot carry the name or
// the string data exactly.
std::optional<std::vector<std::wstring>> BackupValueLines(const std::wstring& name, const RegValue& value);

// Hex data lines: "prefix" then "XX," per byte; a line longer than 75 characters is closed with
// a backslash when more bytes follow; no comma after the last byte; then an empty line.
std::vector<std::wstring> HexLines(const std::wstring& prefix, const std::vector<BYTE>& bytes);

}  // namespace registry
