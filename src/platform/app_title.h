// The title the program shows on its main window and its messages.
#pragma once

namespace platform {

inline constexpr wchar_t kAppTitle[] = L"Kelvo Tidymate";

}  // namespace platform
