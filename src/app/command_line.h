// How the program was started, from its first command-line argument.
#pragma once

#include <string>
#include <vector>

namespace app {

enum class StartKind {
    Interactive,  // no argument, or one that is none of those below
    Schedule,     // "schedule": run the automatic scan at once
    Bootup,       // "bootup": started from the Startup folder; scan only when due
    Preview,      // "preview <mode> <report-file>": scan without a window, write a report
};

// Only the first argument counts, compared exactly (case-sensitive, whole text).
StartKind ParseStartKind(const std::vector<std::wstring>& arguments);

// The process's arguments without the program name.
std::vector<std::wstring> ProcessArguments();

}  // namespace app
