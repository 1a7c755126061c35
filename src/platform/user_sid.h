// Security identifiers of user accounts in their text form ("S-1-5-21-...").
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// "S-1-", the identifier authority in decimal, then "-" and each sub-authority in decimal.
// Empty for an invalid identifier.
std::wstring SidText(PSID sid);

// The identifier of the user the process runs as, from its token; empty when it cannot be read.
std::wstring ProcessUserSidText();

// The identifier of the named account; empty when the account is not found.
std::wstring AccountSidText(const std::wstring& accountName);

// The logged-on user name (GetUserNameW); empty when it cannot be had.
std::wstring LoggedOnUserName();

}  // namespace platform
