// The application's default error handler: an exception that escapes an event handler is
// shown in the skinned message box titled "Kelvo Tidymate", and the program goes on.
#pragma once

#include <windows.h>

#include <exception>

namespace platform {

class SkinManager;

// The window that owns the error messages and the skin they wear (both may be nullptr).
void SetErrorMessageOwner(HWND owner, SkinManager* skin);

void ShowErrorMessage(const std::exception& error) noexcept;
// For exceptions that are not std::exception.
void ShowUnknownErrorMessage() noexcept;

}  // namespace platform
