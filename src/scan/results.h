// The results of a scan without any window: the status and count of every category row of
// the scan page, the findings grouped under one node per category, and the running totals.
// The window shows this model and repaints when the listener tells it what changed.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "scan/catalogue.h"

namespace platform {
struct FileEntry;
}

namespace scan {

enum class TRowStatus : uint8_t { None, Enabled, Disabled, Scanning, Waiting };

// "启用", "禁用", "正在扫描", "请稍等"; "" for a row without a status cell.
const wchar_t* RowStatusText(TRowStatus status);

// One row of the category list.
struct TCategoryRow {
    static constexpr int kNoCount = -1;

    TRowStatus Status = TRowStatus::None;
    int Count = kNoCount;  // findings of the category in this scan; kNoCount: no count cell yet

    bool HasCount() const { return Count != kNoCount; }
};

// A top-level node of the results tree and its findings in the order found.
struct TResultGroup {
    std::wstring Text;
    int StateImage = 0;  // the SafetyLevel of the category that last set the text
    std::vector<std::wstring> Findings;
};

// One node of the results tree: a group header, or one finding of a group.
struct TNodeRef {
    static constexpr size_t kHeader = static_cast<size_t>(-1);

    size_t Group = 0;
    size_t Finding = kHeader;

    bool IsHeader() const { return Finding == kHeader; }
    auto operator<=>(const TNodeRef&) const = default;
};

// "999 字节", "0.98 KB", "1.5 KB", "2 MB", ...: units change at 1000 bytes, then at 1 MB and
// 1 GB, with at most two decimals and no trailing zeros.
std::wstring SizeText(uint64_t bytes);

// What a directory listing tells about a finding.
struct TLookupResult {
    enum Kind { Found, Missing, Failed } Result = Missing;
    uint64_t Size = 0;
    uint64_t LastWriteLocal = 0;  // local time in FILETIME units (100 ns since 1601)
};

// Asks the file system about findings; replaced by a stand-in in tests.
class IFindingLookup {
public:
    virtual ~IFindingLookup() = default;
    // Whether the path names an existing file or folder.
    virtual bool Exists(const std::wstring& path) = 0;
    // The entry of a file or folder (a folder given with its trailing backslash).
    virtual TLookupResult Lookup(const std::wstring& path) = 0;
};

// The real file system. A name with wildcard characters is never listed (it would match
// other entries) and counts as missing; a folder that cannot be read counts as a failure.
class TDiskLookup : public IFindingLookup {
public:
    bool Exists(const std::wstring& path) override;
    TLookupResult Lookup(const std::wstring& path) override;
};

// What a listing entry tells, as a lookup of it would.
TLookupResult EntryLookup(const platform::FileEntry& entry);

// Local time now in FILETIME units.
uint64_t LocalNowTicks();

// What the model needs from outside during a scan.
struct TResultsInputs {
    bool UseTimeBuffer = true;
    std::array<std::wstring, kUserRuleCount> UserRuleTexts{};
    // True when the item text is on the skip list; empty: nothing is skipped.
    std::function<bool(const std::wstring&)> CheckRedoEntry;
    // Local time now in FILETIME units; empty: the system clock.
    std::function<uint64_t()> LocalNow;
    // nullptr: the disk.
    IFindingLookup* Lookup = nullptr;
};

// Told what changed, so the window can repaint just that. Every call is cheap and passes
// positions only; read the model for the rest.
class IResultsListener {
public:
    virtual ~IResultsListener() = default;
    virtual void RowChanged(int row) {}
    virtual void GroupAdded(size_t group) {}
    virtual void GroupChanged(size_t group) {}  // text or state image
    virtual void GroupRemoved(size_t group) {}
    virtual void FindingAdded(size_t group) {}  // appended as the group's last finding
    virtual void FindingRemoved(size_t group, size_t finding) {}
    virtual void TotalsChanged() {}  // ProblemCount or TotalSize
    virtual void TreeCleared() {}
};

class TResultsList {
public:
    explicit TResultsList(IResultsListener* listener = nullptr) : listener_(listener) {}

    void SetListener(IResultsListener* listener) { listener_ = listener; }
    // Takes the inputs for the coming scan and prepares the group prefixes of the user rules.
    void SetInputs(TResultsInputs inputs);

    // Start of a scan: ProblemCount and TotalSize 0, no previous category.
    void ResetCounters();
    // Gives every row "启用" or "禁用" by `takesPart`, sets every existing count cell to 0 and
    // empties the tree.
    void BlankList(std::span<const bool, kCategoryCount> takesPart);
    // Makes a category current and shows it as being searched; the one searched before
    // becomes "请稍等".
    void ChangeLabel(int index);
    // Reports one finding of the current category with its short-name form (or ""). A path
    // holding "?" or characters outside code page 936 is listed by its short-name form when
    // that exists. Returns whether it was listed: the skip list, the time buffer (written in
    // the last 14 days) and a failed lookup drop it; registry findings are never looked up.
    // `known`: the finding's entry as the walk listed it, used instead of a lookup.
    bool ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath,
                          const TLookupResult* known = nullptr);

    // Takes the selected findings out of the tree, from the last to the first; headers in
    // the selection stay, and so do the headers of groups left empty.
    void RemoveFindings(std::span<const TNodeRef> selection);
    // Takes a group header out with all its findings.
    void RemoveGroup(size_t group);
    void ClearTree();
    // ProblemCount = the findings left in the tree.
    void RecountProblems();

    const TCategoryRow& Row(int index) const { return rows_.at(static_cast<size_t>(index)); }
    const std::vector<TResultGroup>& Groups() const { return groups_; }
    // Text of one node.
    const std::wstring& NodeText(const TNodeRef& node) const;
    size_t FindingCount() const { return findingCount_; }

    int CurrentCategory() const { return currentCategory_; }
    int PreviousCategory() const { return previousCategory_; }
    int ProblemCount() const { return problemCount_; }
    uint64_t TotalSize() const { return totalSize_; }

private:
    // A category's group caption around its count, as text and upper-cased for the lookup.
    struct TCaptionParts {
        std::wstring Prefix, Suffix;
    };
    using TCaptionTable = std::array<TCaptionParts, kCategoryCount>;
    static TCaptionTable MakeCaptionTable(const std::array<std::wstring, kUserRuleCount>& userRuleTexts);

    // Whether the finding survives the time buffer and the lookup; adds its size.
    bool WeighFinding(const std::wstring& path, const TLookupResult* known);
    size_t GroupFor(int category);
    void SetGroupCaption(size_t group, int category, int count);
    void SetRowStatus(int index, TRowStatus status);
    void EnsureCount(int index);
    IFindingLookup& Lookup() { return inputs_.Lookup ? *inputs_.Lookup : disk_; }

    IResultsListener* listener_;
    TResultsInputs inputs_;
    TDiskLookup disk_;
    TCaptionTable captions_ = MakeCaptionTable({});

    std::array<TCategoryRow, kCategoryCount> rows_{};
    std::vector<TResultGroup> groups_;
    size_t findingCount_ = 0;

    int currentCategory_ = 0;
    int previousCategory_ = -1;
    int problemCount_ = 0;
    uint64_t totalSize_ = 0;
};

}  // namespace scan
