#include "scan/clean_dir_plan.h"

#include "platform/text.h"
#include "scan/catalogue.h"
#include "scan/user_rules.h"

namespace scan {

namespace {

// Categories searched by their catalogue masks, in CleanDir's order around the others.
constexpr int kLeadingMaskCategories[] = {0, 1, 2, 3, 4, 5};
constexpr int kCopyCategories[] = {10, 11};
constexpr int kLateMaskCategories[] = {64, 65, 68, 69, 70, 87};
constexpr int kChkCategory = 6;
constexpr int kEmptyFileCategory = 8;
constexpr int kEmptyFolderCategory = 9;
constexpr struct {
    int Category;
    TFileTestKind Test;
} kOldFileSteps[] = {{12, ftOldSince1999}, {13, ftOldSince2000}, {14, ftOldSince2001}, {15, ftOldSince2002}};
constexpr struct {
    int Category;
    TFileTestKind Test;
} kShortcutSteps[] = {{16, ftBadShortcut}, {17, ftWebShortcut}, {18, ftCdShortcut}};
constexpr int kFirstPlainMaskCategory = 34;
constexpr int kLastPlainMaskCategory = 57;

class TPlanBuilder {
public:
    TPlanBuilder(const app::TSettings& settings, int scanMode) : settings_(settings), scanMode_(scanMode) {}

    bool Takes(int index) const { return CategoryTakesPart(settings_, scanMode_, index); }

    void AddMasks(int index)
    {
        if (!Takes(index))
            return;
        for (const std::wstring& mask : SourceMasks(Category(index)))
            steps_.push_back({index, TStepKind::Mask, TMask(mask), ftMask, {}});
    }

    void Add(int index, TStepKind kind, TFileTestKind test = ftMask, const std::wstring& mask = L"*")
    {
        if (Takes(index))
            steps_.push_back({index, kind, TMask(mask), test, {}});
    }

    void AddUserRule(int rule)
    {
        const int index = kFirstUserRule + rule;
        const app::TUserRulePattern& pattern = settings_.UserRules[rule];
        const std::optional<std::wstring> namePattern = NameRulePattern(pattern.Kind, pattern.Text);
        if (!Takes(index) || !namePattern)
            return;
        if (IsInvalidNameRuleText(pattern.Text))
            steps_.push_back({index, TStepKind::InvalidRule, TMask(L"*"), ftMask, pattern.Text});
        else if (namePattern->find_first_of(L"[]") != std::wstring::npos)
            // The platform lists brackets literally while the mask reads them as sets: only a
            // real listing gives the same findings.
            steps_.push_back({index, TStepKind::ListedMask, TMask(*namePattern), ftMask, *namePattern});
        else
            steps_.push_back({index, TStepKind::Mask, TMask(*namePattern), ftMask, {}});
    }

    std::vector<TCleanStep> Take() { return std::move(steps_); }

private:
    const app::TSettings& settings_;
    int scanMode_;
    std::vector<TCleanStep> steps_;
};

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

bool CategoryTakesPart(const app::TSettings& settings, int scanMode, int index)
{
    return CategoryTaken(index, scanMode, app::CategoryEnabled(settings, index), settings.RunInMainScan);
}

std::vector<TCleanStep> BuildCleanDirPlan(const app::TSettings& settings, int scanMode)
{
    TPlanBuilder plan(settings, scanMode);
    for (int index : kLeadingMaskCategories)
        plan.AddMasks(index);
    plan.Add(kChkCategory, TStepKind::ChkFiles, ftMask, L"file*.chk");
    plan.Add(kEmptyFileCategory, TStepKind::EmptyFile, ftEmptyFile);
    plan.Add(kEmptyFolderCategory, TStepKind::EmptyFolder, ftEmptyFolder);
    for (int index : kCopyCategories)
        plan.AddMasks(index);
    for (const auto& step : kOldFileSteps)
        plan.Add(step.Category, TStepKind::OldFile, step.Test);
    for (const auto& step : kShortcutSteps)
        plan.Add(step.Category, TStepKind::Shortcut, step.Test, L"*.lnk");
    for (int rule = 0; rule < kUserRuleCount; ++rule)
        plan.AddUserRule(rule);
    for (int index = kFirstPlainMaskCategory; index <= kLastPlainMaskCategory; ++index)
        plan.AddMasks(index);
    for (int index : kLateMaskCategories)
        plan.AddMasks(index);
    return plan.Take();
}

bool IsFoundFolder(const std::wstring& folder)
{
    // chkdsk keeps what it recovers in FOUND.000 .. FOUND.999 at the top of a drive.
    const std::wstring upper = platform::Upper(folder);
    if (upper.size() < 12 || upper.compare(1, 8, L":\\FOUND.") != 0)
        return false;
    const bool digits = IsDigit(upper[9]) && IsDigit(upper[10]) && IsDigit(upper[11]);
    return digits && (upper.size() == 12 || upper[12] == L'\\');
}

bool IsChkFolder(const std::wstring& folder)
{
    const bool root = folder.size() == 3 && folder[1] == L':' && folder[2] == L'\\';
    return root || IsFoundFolder(folder);
}

}  // namespace scan
