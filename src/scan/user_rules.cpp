#include "scan/user_rules.h"

namespace scan {

std::optional<std::wstring> NameRulePattern(int kind, const std::wstring& text)
{
    if (text.empty())
        return std::nullopt;
    switch (kind) {
    case urEndsWith: return L"*" + text;
    case urBeginsWith: return text + L"*";
    case urWildcard: return text;
    default: return std::nullopt;
    }
}

bool IsInvalidNameRuleText(const std::wstring& text) { return text.find_first_of(L"/:\\") != std::wstring::npos; }

bool IsAbsoluteFolder(const std::wstring& text)
{
    const bool drivePath = text.size() >= 3 && ((text[0] >= L'A' && text[0] <= L'Z') || (text[0] >= L'a' && text[0] <= L'z')) && text[1] == L':' && text[2] == L'\\';
    const bool networkPath = text.size() > 2 && text[0] == L'\\' && text[1] == L'\\';
    return drivePath || networkPath;
}

std::wstring InvalidRuleMessage(const std::wstring& text)
{
    return L"清洁设置中的 \"自定义\" 设置 " + text + L" 被中断.  请更正.  它将被跳过.";
}

}  // namespace scan
