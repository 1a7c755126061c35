#include "removal/removal_rules.h"

#include <algorithm>
#include <array>

#include "platform/path_util.h"
#include "platform/text.h"

namespace removal {

namespace {

constexpr std::array<const wchar_t*, 6> kProtectedNames = {
    L"DATA.BAK", L"OPA11.BAK", L"OPA12.BAK", L"OPA13.BAK", L"HPQGENDS.TMP", L"EUDORA.IDX",
};
constexpr wchar_t kProtectedExtension[] = L".BKP";

constexpr wchar_t kNtUninstall[] = L"$NtUninstall";
constexpr wchar_t kNtUninstallEnd[] = L"$\\";

}  // namespace

std::optional<int> HeaderCategory(const std::wstring& caption, const app::TSettings& settings)
{
    std::optional<int> found;
    for (int index = 0; index < scan::kCategoryCount; ++index) {
        std::wstring ruleText;
        if (scan::IsUserRule(index)) {
            if (!settings.Categories[static_cast<size_t>(index)].Enabled)
                continue;
            ruleText = settings.UserRules[static_cast<size_t>(index - scan::kFirstUserRule)].Text;
        }
        if (caption.starts_with(scan::GroupCaptionPrefix(index, ruleText)))
            found = index;
    }
    return found;
}

scan::TRemovalMethod MethodOf(int category, const app::TSettings& settings)
{
    if (scan::IsRegistryCategory(category))
        return scan::rmDelete;
    switch (settings.Categories.at(static_cast<size_t>(category)).Method) {
    case scan::rmDelete:
        return scan::rmDelete;
    case scan::rmZipWeekly:
        return scan::rmZipWeekly;
    default:
        return scan::rmZipKeep;
    }
}

bool IsProtectedFileName(const std::wstring& path)
{
    const std::wstring name = platform::Upper(platform::FilePart(path));
    if (std::any_of(kProtectedNames.begin(), kProtectedNames.end(),
                    [&](const wchar_t* protectedName) { return name == protectedName; }))
        return true;
    const size_t dot = name.rfind(L'.');
    return dot != std::wstring::npos && name.compare(dot, std::wstring::npos, kProtectedExtension) == 0;
}

std::optional<std::wstring> NtUninstallUpdateName(const std::wstring& folder)
{
    const size_t start = folder.find(kNtUninstall);
    const size_t end = folder.find(kNtUninstallEnd);
    if (start == std::wstring::npos || end == std::wstring::npos || end + 2 != folder.size())
        return std::nullopt;
    const size_t nameStart = start + std::char_traits<wchar_t>::length(kNtUninstall);
    if (end <= nameStart)
        return std::nullopt;
    std::wstring name = folder.substr(nameStart, end - nameStart);
    if (name.find(L'\\') != std::wstring::npos)
        return std::nullopt;
    return name;
}

std::wstring RemovalReport(int problemCount, int notRemovedCount)
{
    std::wstring text = std::to_wstring(problemCount) + L" 个问题已清理";
    if (notRemovedCount == 0)
        return text;
    const wchar_t lineBreak[] = L"\n\r";
    return text + lineBreak + std::to_wstring(notRemovedCount) + L" 个问题没有被移除" + lineBreak +
           L"(这可能是因为文件正在使用" + lineBreak + L"或文件夹非空).";
}

}  // namespace removal
