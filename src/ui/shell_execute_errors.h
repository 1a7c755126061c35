// Messages for the error codes of ShellExecute (return values below 33).
#pragma once

#include <string>

namespace ui {

std::wstring ShellExecuteErrorText(int code);

}  // namespace ui
