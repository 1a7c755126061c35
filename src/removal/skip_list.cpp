#include "removal/skip_list.h"

#include <windows.h>

#include <algorithm>
#include <optional>

#include "app/ini_file.h"
#include "platform/errors.h"
#include "platform/path_util.h"
#include "platform/text.h"

namespace removal {

namespace {

constexpr const wchar_t* kSeparator = L"\\\\:";
constexpr const wchar_t* kKeyOnly = L"KeyOnly";

// Names are trimmed the way the INI format reads them back.
std::wstring Trim(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return {};
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

// Upper case as platform::Upper gives it, without a system call for plain ASCII names.
std::wstring UpperName(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= 0x80)
            return platform::Upper(text);
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return text;
}

std::wstring SetKey(const std::wstring& section, const std::wstring& key)
{
    return UpperName(Trim(section)) + L'\n' + UpperName(Trim(key));
}

std::wstring ReadFailure(const std::wstring& path, DWORD error)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring reason = n ? std::wstring(buffer, n) : L"错误 " + std::to_wstring(error);
    LocalFree(buffer);
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L'.'))
        reason.pop_back();
    return L"无法读取跳过列表 \"" + path + L"\": " + reason;
}

// The findings named by a selection, from the last selected node to the first.
std::vector<std::wstring> SelectedFindingTexts(const scan::TResultsList& results,
                                               std::span<const scan::TNodeRef> selection)
{
    std::vector<scan::TNodeRef> nodes(selection.begin(), selection.end());
    std::sort(nodes.begin(), nodes.end());
    nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
    std::vector<std::wstring> texts;
    const auto& groups = results.Groups();
    for (auto node = nodes.rbegin(); node != nodes.rend(); ++node)
        if (!node->IsHeader() && node->Group < groups.size() && node->Finding < groups[node->Group].Findings.size())
            texts.push_back(results.NodeText(*node));
    return texts;
}

}  // namespace

std::wstring SkipListPath(const std::wstring& programFolder) { return platform::CheckPath(programFolder) + L"skip.ini"; }

TSkipEntry SkipEntryOf(const std::wstring& itemText)
{
    const size_t separator = itemText.find(kSeparator);
    if (separator == std::wstring::npos)
        return {itemText, kKeyOnly, {}};
    const std::wstring rest = itemText.substr(separator + 3);
    const size_t equals = rest.find(L'=');
    std::wstring key = rest.substr(0, equals);
    if (Trim(key).empty())
        key = L"@";
    return {itemText.substr(0, separator), key, equals == std::wstring::npos ? L"" : rest.substr(equals + 1)};
}

TSkipList::TSkipList(const std::wstring& path)
{
    const std::optional<std::vector<std::wstring>> lines = platform::ReadTextLines(path);
    if (!lines) {
        const DWORD error = GetLastError();
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            return;
        throw platform::AppError(ReadFailure(path, error));
    }
    // Line rules of the INI format: "[section]", "key=value" (a line without "=" is a key),
    // blank lines and ";" comments carry nothing, keys before the first section neither.
    std::optional<std::wstring> section;
    for (const std::wstring& raw : *lines) {
        const std::wstring line = Trim(raw);
        if (line.empty() || line[0] == L';')
            continue;
        if (line[0] == L'[') {
            const size_t end = line.back() == L']' ? line.size() - 1 : line.size();
            section = line.substr(1, end - 1);
            continue;
        }
        const std::wstring key = Trim(line.substr(0, line.find(L'=')));
        if (section && !key.empty())
            entries_.insert(SetKey(*section, key));
    }
}

bool TSkipList::CheckRedoEntry(const std::wstring& itemText) const
{
    if (entries_.empty())
        return false;
    const TSkipEntry entry = SkipEntryOf(itemText);
    return entries_.contains(SetKey(entry.Section, entry.Key));
}

void AddSkipEntries(const std::wstring& path, std::span<const std::wstring> itemTexts)
{
    app::TMemIniFile ini(path);
    for (const std::wstring& text : itemTexts) {
        const TSkipEntry entry = SkipEntryOf(text);
        ini.WriteString(entry.Section, entry.Key, entry.Value);
    }
    ini.Save();
}

bool DropSelectedFindings(scan::TResultsList& results, std::span<const scan::TNodeRef> selection)
{
    if (selection.empty())
        return false;
    results.RemoveFindings(selection);
    results.RecountProblems();
    return true;
}

bool SkipSelectedFindings(scan::TResultsList& results, std::span<const scan::TNodeRef> selection,
                          const std::wstring& skipListPath)
{
    if (selection.empty())
        return false;
    const std::vector<std::wstring> texts = SelectedFindingTexts(results, selection);
    if (!texts.empty())
        AddSkipEntries(skipListPath, texts);
    return DropSelectedFindings(results, selection);
}

}  // namespace removal
