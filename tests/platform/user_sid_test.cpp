#include <gtest/gtest.h>
#include <windows.h>
#include <sddl.h>

#include <vector>

#include "platform/user_sid.h"

using namespace platform;

namespace {

// The process user's identifier as the system formats it.
std::wstring SystemFormOfProcessUser()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    std::vector<BYTE> buffer(1024);
    DWORD size = 0;
    std::wstring text;
    if (GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
        wchar_t* converted = nullptr;
        if (ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &converted)) {
            text = converted;
            LocalFree(converted);
        }
    }
    CloseHandle(token);
    return text;
}

}  // namespace

TEST(UserSid, SidTextWritesAuthorityAndSubAuthoritiesInDecimal)
{
    struct Case {
        SID_IDENTIFIER_AUTHORITY authority;
        std::vector<DWORD> subAuthorities;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0, 5}, {21, 1, 2, 3, 1000}, L"S-1-5-21-1-2-3-1000"},
        {{0, 0, 0, 0, 0, 1}, {0}, L"S-1-1-0"},
        {{0, 0, 0, 0, 0, 16}, {12288}, L"S-1-16-12288"},
        {{0, 0, 0, 0, 0, 5}, {4294967295u}, L"S-1-5-4294967295"},
        {{0, 0, 1, 0, 0, 0}, {7}, L"S-1-16777216-7"},
        // Decimal also past 32 bits, where the system's own form switches to hexadecimal.
        {{0, 1, 0, 0, 0, 0}, {7}, L"S-1-4294967296-7"},
    };
    for (const Case& c : cases) {
        DWORD subs[8] = {};
        std::copy(c.subAuthorities.begin(), c.subAuthorities.end(), subs);
        SID_IDENTIFIER_AUTHORITY authority = c.authority;
        PSID sid = nullptr;
        ASSERT_TRUE(AllocateAndInitializeSid(&authority, static_cast<BYTE>(c.subAuthorities.size()), subs[0], subs[1],
                                             subs[2], subs[3], subs[4], subs[5], subs[6], subs[7], &sid));
        EXPECT_EQ(SidText(sid), c.expected);
        FreeSid(sid);
    }
    EXPECT_EQ(SidText(nullptr), L"");
}

TEST(UserSid, ProcessUserMatchesTheSystemForm)
{
    const std::wstring expected = SystemFormOfProcessUser();
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(ProcessUserSidText(), expected);
}

TEST(UserSid, AccountLookupGivesTheLoggedOnUsersIdentifier)
{
    const std::wstring user = LoggedOnUserName();
    ASSERT_FALSE(user.empty());
    EXPECT_EQ(AccountSidText(user), SystemFormOfProcessUser());
    EXPECT_EQ(AccountSidText(L"no-such-account-7f3c"), L"");
    EXPECT_EQ(AccountSidText(L""), L"");
}
