#include "app/ini_file.h"

#include <windows.h>

#include <climits>
#include <system_error>

#include "platform/errors.h"
#include "platform/text.h"

namespace app {

namespace {

std::wstring Trim(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return {};
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

// One line of the file as the format sees it.
struct IniLine {
    enum Kind { Nothing, SectionHead, KeyValue } kind = Nothing;
    std::wstring name;
    std::wstring value;
};

IniLine ParseLine(const std::wstring& raw)
{
    const std::wstring line = Trim(raw);
    if (line.empty() || line[0] == L';')
        return {};
    if (line[0] == L'[') {
        const size_t end = line.back() == L']' ? line.size() - 1 : line.size();
        return {IniLine::SectionHead, Trim(line.substr(1, end - 1)), {}};
    }
    // A line without '=' is a key with an empty value, so a hand-written entry is not lost.
    const size_t eq = line.find(L'=');
    const std::wstring key = Trim(line.substr(0, eq));
    if (key.empty())
        return {};
    return {IniLine::KeyValue, key, eq == std::wstring::npos ? std::wstring() : Trim(line.substr(eq + 1))};
}

// A value must stay on its line.
std::wstring OneLine(const std::wstring& value)
{
    std::wstring out = value;
    for (wchar_t& c : out)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    return out;
}

std::wstring KeyLine(const std::wstring& key, const std::wstring& value) { return key + L"=" + OneLine(value); }

std::wstring SystemMessage(int code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0,
                                   nullptr);
    std::wstring text = n ? std::wstring(buffer, n) : L"错误 " + std::to_wstring(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'.' || text.back() == L'\u3002'))
        text.pop_back();
    return text;
}

// Loads the file's lines; a missing file has none. A file that exists but cannot be read
// raises an error instead of passing for an empty one.
std::vector<std::wstring> LoadLines(const std::wstring& path)
{
    if (auto lines = platform::ReadTextLines(path))
        return *lines;
    const DWORD error = GetLastError();
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return {};
    throw platform::AppError(L"无法打开文件 \"" + path + L"\": " + SystemMessage(static_cast<int>(error)));
}

void StoreLines(const std::wstring& path, const std::vector<std::wstring>& lines)
{
    try {
        platform::WriteTextLinesAtomic(path, lines);
    } catch (const std::system_error& error) {
        throw platform::AppError(L"无法创建文件 \"" + path + L"\": " + SystemMessage(error.code().value()));
    }
}

bool ReadBoolValue(const std::optional<std::wstring>& text, bool def)
{
    if (!text)
        return def;
    const std::optional<int> number = ParseIniInteger(*text);
    return number ? *number != 0 : def;
}

int ReadIntegerValue(const std::optional<std::wstring>& text, int def)
{
    if (!text)
        return def;
    return ParseIniInteger(*text).value_or(def);
}

int HexDigit(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

}  // namespace

std::optional<int> ParseIniInteger(const std::wstring& text)
{
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+'))
        negative = text[at++] == L'-';
    int base = 10;
    if (at < text.size() && text[at] == L'$') {
        base = 16;
        ++at;
    } else if (at + 1 < text.size() && text[at] == L'0' && (text[at + 1] == L'x' || text[at + 1] == L'X')) {
        base = 16;
        at += 2;
    }
    if (at == text.size())
        return std::nullopt;
    // Hexadecimal takes all 32 bits ($FFFFFFFF is -1); decimal must fit an int.
    const long long limit = base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + (negative ? 1 : 0);
    long long value = 0;
    for (; at < text.size(); ++at) {
        const int digit = HexDigit(text[at]);
        if (digit < 0 || digit >= base)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    return static_cast<int>(static_cast<unsigned>(value & 0xFFFFFFFFLL));
}

// ---- TMemIniFile ----

TMemIniFile::TMemIniFile(std::wstring path) : path_(std::move(path))
{
    Section* current = nullptr;
    for (const std::wstring& raw : LoadLines(path_)) {
        IniLine line = ParseLine(raw);
        if (line.kind == IniLine::SectionHead) {
            // A repeated section joins the first one of that name.
            current = FindSection(line.name);
            if (!current) {
                sections_.push_back({line.name, platform::Upper(line.name), {}});
                current = &sections_.back();
            }
        } else if (line.kind == IniLine::KeyValue && current) {
            std::wstring upper = platform::Upper(line.name);
            current->entries.push_back({std::move(line.name), std::move(upper), std::move(line.value)});
        }
    }
}

const TMemIniFile::Section* TMemIniFile::FindSection(const std::wstring& name) const
{
    const std::wstring upper = platform::Upper(Trim(name));
    for (const Section& section : sections_)
        if (section.upperName == upper)
            return &section;
    return nullptr;
}

TMemIniFile::Section* TMemIniFile::FindSection(const std::wstring& name)
{
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

const TMemIniFile::Entry* TMemIniFile::FindEntry(const std::wstring& section, const std::wstring& key) const
{
    const Section* found = FindSection(section);
    if (!found)
        return nullptr;
    const std::wstring upper = platform::Upper(Trim(key));
    for (const Entry& entry : found->entries)
        if (entry.upperKey == upper)
            return &entry;
    return nullptr;
}

std::wstring TMemIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                     const std::wstring& def) const
{
    const Entry* entry = FindEntry(section, key);
    return entry ? entry->value : def;
}

int TMemIniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int def) const
{
    const Entry* entry = FindEntry(section, key);
    return ReadIntegerValue(entry ? std::optional(entry->value) : std::nullopt, def);
}

bool TMemIniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool def) const
{
    const Entry* entry = FindEntry(section, key);
    return ReadBoolValue(entry ? std::optional(entry->value) : std::nullopt, def);
}

void TMemIniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    const std::wstring name = Trim(key);
    if (Entry* entry = const_cast<Entry*>(FindEntry(section, name))) {
        entry->key = name;
        entry->value = OneLine(value);
        return;
    }
    Section* found = FindSection(section);
    if (!found) {
        sections_.push_back({Trim(section), platform::Upper(Trim(section)), {}});
        found = &sections_.back();
    }
    found->entries.push_back({name, platform::Upper(name), OneLine(value)});
}

void TMemIniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value)
{
    WriteString(section, key, std::to_wstring(value));
}

void TMemIniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value)
{
    WriteString(section, key, value ? L"1" : L"0");
}

std::vector<std::wstring> TMemIniFile::ReadSections() const
{
    std::vector<std::wstring> names;
    for (const Section& section : sections_)
        names.push_back(section.name);
    return names;
}

std::vector<std::wstring> TMemIniFile::ReadSection(const std::wstring& section) const
{
    std::vector<std::wstring> keys;
    if (const Section* found = FindSection(section))
        for (const Entry& entry : found->entries)
            keys.push_back(entry.key);
    return keys;
}

std::vector<std::pair<std::wstring, std::wstring>> TMemIniFile::ReadSectionValues(const std::wstring& section) const
{
    std::vector<std::pair<std::wstring, std::wstring>> pairs;
    if (const Section* found = FindSection(section))
        for (const Entry& entry : found->entries)
            pairs.emplace_back(entry.key, entry.value);
    return pairs;
}

bool TMemIniFile::SectionExists(const std::wstring& section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(const std::wstring& section, const std::wstring& key) const
{
    return FindEntry(section, key) != nullptr;
}

void TMemIniFile::EraseSection(const std::wstring& section)
{
    if (const Section* found = FindSection(section))
        sections_.erase(sections_.begin() + (found - sections_.data()));
}

void TMemIniFile::DeleteKey(const std::wstring& section, const std::wstring& key)
{
    Section* found = FindSection(section);
    if (!found)
        return;
    if (const Entry* entry = FindEntry(section, key))
        found->entries.erase(found->entries.begin() + (entry - found->entries.data()));
}

void TMemIniFile::Save() const
{
    std::vector<std::wstring> lines;
    for (const Section& section : sections_) {
        lines.push_back(L"[" + section.name + L"]");
        for (const Entry& entry : section.entries)
            lines.push_back(KeyLine(entry.key, entry.value));
        lines.push_back(L"");
    }
    StoreLines(path_, lines);
}

// ---- TIniFile ----

std::optional<std::wstring> TIniFile::Find(const std::wstring& section, const std::wstring& key) const
{
    const auto lines = platform::ReadTextLines(path_);
    if (!lines)
        return std::nullopt;
    const std::wstring upperSection = platform::Upper(Trim(section));
    const std::wstring upperKey = platform::Upper(Trim(key));
    bool inSection = false;
    for (const std::wstring& raw : *lines) {
        const IniLine line = ParseLine(raw);
        if (line.kind == IniLine::SectionHead)
            inSection = platform::Upper(line.name) == upperSection;
        else if (line.kind == IniLine::KeyValue && inSection && platform::Upper(line.name) == upperKey)
            return line.value;
    }
    return std::nullopt;
}

std::wstring TIniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                  const std::wstring& def) const
{
    return Find(section, key).value_or(def);
}

int TIniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int def) const
{
    return ReadIntegerValue(Find(section, key), def);
}

bool TIniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool def) const
{
    return ReadBoolValue(Find(section, key), def);
}

bool TIniFile::ValueExists(const std::wstring& section, const std::wstring& key) const
{
    return Find(section, key).has_value();
}

void TIniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value)
{
    std::vector<std::wstring> lines = LoadLines(path_);
    const std::wstring name = Trim(key);
    const std::wstring upperSection = platform::Upper(Trim(section));
    const std::wstring upperKey = platform::Upper(name);
    bool inSection = false;
    bool inFirstBlock = false;
    size_t insertAt = std::wstring::npos;  // after the last key line of the section's first block
    for (size_t i = 0; i < lines.size(); ++i) {
        const IniLine line = ParseLine(lines[i]);
        if (line.kind == IniLine::SectionHead) {
            inSection = platform::Upper(line.name) == upperSection;
            inFirstBlock = inSection && insertAt == std::wstring::npos;
            if (inFirstBlock)
                insertAt = i + 1;
        } else if (line.kind == IniLine::KeyValue && inSection) {
            if (platform::Upper(line.name) == upperKey) {
                lines[i] = KeyLine(name, value);
                StoreLines(path_, lines);
                return;
            }
            if (inFirstBlock)
                insertAt = i + 1;
        }
    }
    if (insertAt != std::wstring::npos) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insertAt), KeyLine(name, value));
    } else {
        if (!lines.empty() && !Trim(lines.back()).empty())
            lines.push_back(L"");
        lines.push_back(L"[" + Trim(section) + L"]");
        lines.push_back(KeyLine(name, value));
        lines.push_back(L"");
    }
    StoreLines(path_, lines);
}

void TIniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value)
{
    WriteString(section, key, std::to_wstring(value));
}

void TIniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value)
{
    WriteString(section, key, value ? L"1" : L"0");
}

}  // namespace app
