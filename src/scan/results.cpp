#include "scan/results.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/files.h"
#include "platform/path_util.h"
#include "platform/text.h"

namespace scan {

namespace {

constexpr uint64_t kTicksPerDay = 24ULL * 60 * 60 * 10'000'000;
constexpr uint64_t kTimeBuffer = 14 * kTicksPerDay;

uint64_t Ticks(const FILETIME& time)
{
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

bool IsRegistryText(const std::wstring& text) { return text.starts_with(L"HKEY_"); }

// Listing errors that mean the entry is simply not there.
bool IsMissingError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_NO_MORE_FILES:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_DIRECTORY:
        return true;
    default:
        return false;
    }
}

// A path the system code page cannot show: it came with "?" in place of the characters
// that did not fit, or it still holds them.
bool NeedsShortForm(const std::wstring& path)
{
    bool ascii = true;
    for (wchar_t c : path) {
        if (c == L'?')
            return true;
        ascii = ascii && c < 0x80;
    }
    return !ascii && !platform::FitsAnsi(path);
}

// "0.##" of whole + hundredths/100.
std::wstring TwoDecimals(uint64_t whole, uint64_t hundredths)
{
    std::wstring text = std::to_wstring(whole);
    if (hundredths == 0)
        return text;
    text += L'.';
    text += static_cast<wchar_t>(L'0' + hundredths / 10);
    if (hundredths % 10)
        text += static_cast<wchar_t>(L'0' + hundredths % 10);
    return text;
}

}  // namespace

const wchar_t* RowStatusText(TRowStatus status)
{
    switch (status) {
    case TRowStatus::Enabled:
        return L"启用";
    case TRowStatus::Disabled:
        return L"禁用";
    case TRowStatus::Scanning:
        return L"正在扫描";
    case TRowStatus::Waiting:
        return L"请稍等";
    case TRowStatus::None:
        break;
    }
    return L"";
}

std::wstring SizeText(uint64_t bytes)
{
    if (bytes < 1000)
        return std::to_wstring(bytes) + L" 字节";
    struct Unit {
        uint64_t Size;
        const wchar_t* Name;
    };
    static constexpr Unit kUnits[] = {{1ULL << 10, L" KB"}, {1ULL << 20, L" MB"}, {1ULL << 30, L" GB"}};
    const Unit& unit = bytes < (1ULL << 20) ? kUnits[0] : bytes < (1ULL << 30) ? kUnits[1] : kUnits[2];
    uint64_t whole = bytes / unit.Size;
    // Rounded to hundredths, halves up; the remainder is below 2^30, so this cannot overflow.
    uint64_t hundredths = ((bytes % unit.Size) * 100 + unit.Size / 2) / unit.Size;
    if (hundredths == 100) {
        ++whole;
        hundredths = 0;
    }
    return TwoDecimals(whole, hundredths) + unit.Name;
}

uint64_t LocalNowTicks()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME time;
    SystemTimeToFileTime(&now, &time);
    return Ticks(time);
}

// ---- TDiskLookup ----

bool TDiskLookup::Exists(const std::wstring& path)
{
    return platform::GetAttributes(platform::RemoveSlash(path)).has_value();
}

TLookupResult EntryLookup(const platform::FileEntry& entry)
{
    FILETIME local;
    if (!FileTimeToLocalFileTime(&entry.lastWriteTime, &local))
        return {TLookupResult::Failed};
    return {TLookupResult::Found, entry.size, Ticks(local)};
}

TLookupResult TDiskLookup::Lookup(const std::wstring& path)
{
    const std::wstring name = platform::RemoveSlash(path);
    if (name.empty() || name.find_first_of(L"*?") != std::wstring::npos)
        return {TLookupResult::Missing};
    platform::FileEnumerator listing(name);
    platform::FileEntry entry;
    if (!listing.Next(entry))
        return {IsMissingError(listing.Error()) ? TLookupResult::Missing : TLookupResult::Failed};
    return EntryLookup(entry);
}

// ---- TResultsList ----

TResultsList::TCaptionTable TResultsList::MakeCaptionTable(
    const std::array<std::wstring, kUserRuleCount>& userRuleTexts)
{
    TCaptionTable table;
    for (int i = 0; i < kCategoryCount; ++i) {
        const std::wstring rule = IsUserRule(i) ? userRuleTexts[i - kFirstUserRule] : std::wstring();
        TCaptionParts& parts = table[i];
        parts.Prefix = GroupCaptionPrefix(i, rule);
        parts.Suffix = GroupCaption(i, 0, rule).substr(parts.Prefix.size() + 1);  // after the "0"
    }
    return table;
}

void TResultsList::SetInputs(TResultsInputs inputs)
{
    inputs_ = std::move(inputs);
    captions_ = MakeCaptionTable(inputs_.UserRuleTexts);
}

void TResultsList::ResetCounters()
{
    problemCount_ = 0;
    totalSize_ = 0;
    previousCategory_ = -1;
    if (listener_)
        listener_->TotalsChanged();
}

void TResultsList::BlankList(std::span<const bool, kCategoryCount> takesPart)
{
    for (int i = 0; i < kCategoryCount; ++i) {
        TCategoryRow& row = rows_[i];
        row.Status = takesPart[i] ? TRowStatus::Enabled : TRowStatus::Disabled;
        if (row.HasCount())
            row.Count = 0;
        if (listener_)
            listener_->RowChanged(i);
    }
    ClearTree();
}

void TResultsList::SetRowStatus(int index, TRowStatus status)
{
    rows_.at(static_cast<size_t>(index)).Status = status;
}

void TResultsList::EnsureCount(int index)
{
    TCategoryRow& row = rows_.at(static_cast<size_t>(index));
    if (!row.HasCount())
        row.Count = 0;
}

void TResultsList::ChangeLabel(int index)
{
    Category(index);  // throws for an index outside the catalogue
    currentCategory_ = index;
    if (previousCategory_ != -1) {
        SetRowStatus(previousCategory_, TRowStatus::Waiting);
        EnsureCount(previousCategory_);
        if (listener_)
            listener_->RowChanged(previousCategory_);
    }
    SetRowStatus(index, TRowStatus::Scanning);
    EnsureCount(index);
    previousCategory_ = index;
    if (listener_)
        listener_->RowChanged(index);
}

bool TResultsList::WeighFinding(const std::wstring& path, const TLookupResult* known)
{
    if (IsRegistryText(path))
        return true;
    const TLookupResult found = known ? *known : Lookup().Lookup(path);
    if (found.Result == TLookupResult::Failed)
        return false;
    if (found.Result == TLookupResult::Missing)
        return true;
    if (inputs_.UseTimeBuffer) {
        const uint64_t now = inputs_.LocalNow ? inputs_.LocalNow() : LocalNowTicks();
        const uint64_t todayStart = now - now % kTicksPerDay;
        if (found.LastWriteLocal + kTimeBuffer >= todayStart)
            return false;
    }
    totalSize_ += found.Size;
    return true;
}

bool TResultsList::ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath,
                                    const TLookupResult* known)
{
    const std::wstring& text =
        NeedsShortForm(path) && !alternatePath.empty() && Lookup().Exists(alternatePath) ? alternatePath : path;
    if (inputs_.CheckRedoEntry && inputs_.CheckRedoEntry(text))
        return false;
    if (!WeighFinding(text, known))
        return false;

    TCategoryRow& row = rows_[currentCategory_];
    row.Count = row.HasCount() ? row.Count + 1 : 1;
    if (listener_)
        listener_->RowChanged(currentCategory_);

    const size_t group = GroupFor(currentCategory_);
    SetGroupCaption(group, currentCategory_, row.Count);
    groups_[group].Findings.push_back(text);
    ++findingCount_;
    ++problemCount_;
    if (listener_) {
        listener_->FindingAdded(group);
        listener_->TotalsChanged();
    }
    return true;
}

size_t TResultsList::GroupFor(int category)
{
    // Letter case counts: a rule ".tmp" gets a group of its own beside ".TMP 文件 (", since
    // the removal driver tells a group's category from its caption the same way.
    const std::wstring& prefix = captions_[category].Prefix;
    for (size_t i = groups_.size(); i-- > 0;)
        if (groups_[i].Text.starts_with(prefix))
            return i;
    groups_.emplace_back();
    if (listener_)
        listener_->GroupAdded(groups_.size() - 1);
    return groups_.size() - 1;
}

void TResultsList::SetGroupCaption(size_t group, int category, int count)
{
    const TCaptionParts& parts = captions_[category];
    const std::wstring number = std::to_wstring(count);
    groups_[group].Text = parts.Prefix + number + parts.Suffix;
    groups_[group].StateImage = Category(category).SafetyLevel;
    if (listener_)
        listener_->GroupChanged(group);
}

const std::wstring& TResultsList::NodeText(const TNodeRef& node) const
{
    const TResultGroup& group = groups_.at(node.Group);
    return node.IsHeader() ? group.Text : group.Findings.at(node.Finding);
}

void TResultsList::RemoveFindings(std::span<const TNodeRef> selection)
{
    std::vector<TNodeRef> nodes(selection.begin(), selection.end());
    std::erase_if(nodes, [this](const TNodeRef& node) {
        return node.IsHeader() || node.Group >= groups_.size() || node.Finding >= groups_[node.Group].Findings.size();
    });
    std::sort(nodes.begin(), nodes.end());
    nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());

    // From the last group to the first: mark the group's doomed findings, then close the
    // gaps in one pass.
    for (auto end = nodes.end(); end != nodes.begin();) {
        const size_t group = std::prev(end)->Group;
        auto begin = end;
        while (begin != nodes.begin() && std::prev(begin)->Group == group)
            --begin;
        std::vector<std::wstring>& findings = groups_[group].Findings;
        std::vector<bool> doomed(findings.size(), false);
        for (auto node = end; node != begin;) {
            --node;
            doomed[node->Finding] = true;
            if (listener_)
                listener_->FindingRemoved(group, node->Finding);
        }
        size_t kept = 0;
        for (size_t i = 0; i < findings.size(); ++i) {
            if (doomed[i])
                continue;
            if (kept != i)
                findings[kept] = std::move(findings[i]);
            ++kept;
        }
        findingCount_ -= findings.size() - kept;
        findings.resize(kept);
        end = begin;
    }
}

void TResultsList::RemoveGroup(size_t group)
{
    if (group >= groups_.size())
        return;
    findingCount_ -= groups_[group].Findings.size();
    groups_.erase(groups_.begin() + static_cast<ptrdiff_t>(group));
    if (listener_)
        listener_->GroupRemoved(group);
}

void TResultsList::ClearTree()
{
    groups_.clear();
    findingCount_ = 0;
    if (listener_)
        listener_->TreeCleared();
}

void TResultsList::RecountProblems()
{
    problemCount_ = static_cast<int>(findingCount_);
    if (listener_)
        listener_->TotalsChanged();
}

}  // namespace scan
