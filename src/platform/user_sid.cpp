#include "platform/user_sid.h"

#include <lmcons.h>

#include <cstdint>
#include <vector>

namespace platform {

std::wstring SidText(PSID sid)
{
    if (!sid || !IsValidSid(sid))
        return {};
    const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
    uint64_t authorityValue = 0;
    for (BYTE part : authority->Value)
        authorityValue = (authorityValue << 8) | part;
    std::wstring text = L"S-1-" + std::to_wstring(authorityValue);
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    for (UCHAR i = 0; i < count; ++i)
        text += L"-" + std::to_wstring(*GetSidSubAuthority(sid, i));
    return text;
}

std::wstring ProcessUserSidText()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    std::wstring text;
    if (size && GetTokenInformation(token, TokenUser, buffer.data(), size, &size))
        text = SidText(reinterpret_cast<const TOKEN_USER*>(buffer.data())->User.Sid);
    CloseHandle(token);
    return text;
}

std::wstring AccountSidText(const std::wstring& accountName)
{
    if (accountName.empty())
        return {};
    DWORD sidSize = 0;
    DWORD domainSize = 0;
    SID_NAME_USE use;
    LookupAccountNameW(nullptr, accountName.c_str(), nullptr, &sidSize, nullptr, &domainSize, &use);
    if (!sidSize)
        return {};
    std::vector<BYTE> sid(sidSize);
    std::vector<wchar_t> domain(domainSize + 1);
    if (!LookupAccountNameW(nullptr, accountName.c_str(), sid.data(), &sidSize, domain.data(), &domainSize, &use))
        return {};
    return SidText(sid.data());
}

std::wstring LoggedOnUserName()
{
    wchar_t name[UNLEN + 1];
    DWORD size = UNLEN + 1;
    if (!GetUserNameW(name, &size) || size == 0)
        return {};
    return std::wstring(name, size - 1);
}

}  // namespace platform
