#include "registry/reg_format.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "platform/text.h"

namespace registry {

namespace {

constexpr size_t kMaxHexLine = 75;

std::wstring WideData(const std::vector<BYTE>& data)
{
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    return text;
}

std::wstring UpToFirstNull(const std::wstring& text) { return text.substr(0, text.find(L'\0')); }

// String data that a quoted line gives back byte for byte: text, one terminating null, no other.
std::optional<std::wstring> QuotableText(const RegValue& value)
{
    if (value.data.size() < sizeof(wchar_t) || value.data.size() % sizeof(wchar_t) != 0)
        return std::nullopt;
    std::wstring text = WideData(value.data);
    if (text.back() != L'\0')
        return std::nullopt;
    text.pop_back();
    if (text.find(L'\0') != std::wstring::npos || !platform::FitsAnsi(text))
        return std::nullopt;
    return text;
}

std::wstring BackupNameField(const std::wstring& name) { return name.empty() ? L"@" : L"\"" + ConvertSt(name) + L"\""; }

std::wstring HexTypePrefix(DWORD type)
{
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"hex(%lx):", static_cast<unsigned long>(type));
    return buffer;
}

// The backup file is code page text, so the import widens the hex data of string types from
// code page bytes: only data that survives that round trip can be written.
std::optional<std::vector<BYTE>> AnsiStringBytes(const RegValue& value)
{
    if (value.data.size() % sizeof(wchar_t) != 0)
        return std::nullopt;
    const std::wstring text = WideData(value.data);
    if (!platform::FitsAnsi(text))
        return std::nullopt;
    const std::string bytes = platform::ToAnsi(text);
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

}  // namespace

RegFileFormat FormatForOSKind(int osKind)
{
    return osKind >= 1 && osKind <= 4 ? RegFileFormat::Regedit4 : RegFileFormat::Version5;
}

std::wstring HeaderLine(RegFileFormat format)
{
    return format == RegFileFormat::Regedit4 ? L"REGEDIT4" : L"Windows Registry Editor Version 5.00";
}

std::wstring ConvertSt(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'\\': out += L"\\\\"; break;
        case L'"': out += L"\\\""; break;
        case L'\r': out += L"\\r"; break;
        case L'\n': out += L"\\n"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::wstring NameField(const std::wstring& name) { return name.empty() ? L"@" : L"\"" + name + L"\""; }

std::wstring ShownData(const RegValue& value)
{
    switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
        return ConvertSt(UpToFirstNull(WideData(value.data)));
    case REG_DWORD:
        if (value.data.size() >= sizeof(DWORD)) {
            DWORD number = 0;
            std::memcpy(&number, value.data.data(), sizeof number);
            return std::to_wstring(static_cast<int32_t>(number));
        }
        break;
    default:
        break;
    }
    return L"( 二进制数据 )";
}

std::vector<std::wstring> HexLines(const std::wstring& prefix, const std::vector<BYTE>& bytes)
{
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    std::vector<std::wstring> lines;
    std::wstring line = prefix;
    for (size_t i = 0; i < bytes.size(); ++i) {
        line += kDigits[bytes[i] >> 4];
        line += kDigits[bytes[i] & 0x0F];
        line += L',';
        if (line.size() > kMaxHexLine && i + 1 < bytes.size()) {
            lines.push_back(line + L"\\");
            line.clear();
        }
    }
    if (!bytes.empty())
        line.pop_back();
    lines.push_back(line);
    lines.emplace_back();
    return lines;
}

std::optional<std::vector<std::wstring>> BackupValueLines(const std::wstring& name, const RegValue& value)
{
    if (!platform::FitsAnsi(name))
        return std::nullopt;
    const std::wstring field = BackupNameField(name);
    switch (value.type) {
    case REG_SZ:
        if (auto text = QuotableText(value))
            return std::vector<std::wstring>{field + L"=\"" + ConvertSt(*text) + L"\""};
        [[fallthrough]];
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
        auto bytes = AnsiStringBytes(value);
        if (!bytes)
            return std::nullopt;
        return HexLines(field + L"=" + HexTypePrefix(value.type), *bytes);
    }
    case REG_DWORD:
        if (value.data.size() == sizeof(DWORD)) {
            DWORD number = 0;
            std::memcpy(&number, value.data.data(), sizeof number);
            wchar_t buffer[16];
            std::swprintf(buffer, 16, L"dword:%08lx", static_cast<unsigned long>(number));
            return std::vector<std::wstring>{field + L"=" + buffer};
        }
        break;
    case REG_BINARY:
        return HexLines(field + L"=hex:", value.data);
    default:
        break;
    }
    return HexLines(field + L"=" + HexTypePrefix(value.type), value.data);
}

}  // namespace registry
