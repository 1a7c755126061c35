// The preview command, "Tidymate.exe preview <mode> <report-file>": one scan with the saved
// settings, without any window, whose results tree is written to a UTF-8 text file.
// Nothing is removed and no other file is written.
#pragma once

#include <string>
#include <vector>

#include "scan/results.h"

namespace app {

inline constexpr wchar_t kPreviewArgument[] = L"preview";

// Exit codes of the preview command.
inline constexpr int kPreviewDone = 0;
inline constexpr int kPreviewFailed = 1;      // the scan or the report failed
inline constexpr int kPreviewBadArguments = 2;

struct TPreviewRequest {
    int ScanMode = 0;
    std::wstring ReportFile;
    std::wstring Error;  // not empty: the arguments are unusable and this says why

    bool Valid() const { return Error.empty(); }
};

// Reads the arguments after the program name; the first is "preview".
TPreviewRequest ParsePreviewArguments(const std::vector<std::wstring>& arguments);

// The report: each group caption flush left with its findings below, indented by two
// blanks, in tree order, then "<n> 个问题, <size text>". Lines end in CR LF.
std::wstring PreviewReport(const scan::TResultsList& results);

// Runs the command for the program file `exePath`; returns the process exit code. Bad
// arguments and failures are shown in a message box titled "Kelvo Tidymate".
int RunPreviewCommand(const std::wstring& exePath, const std::vector<std::wstring>& arguments);

}  // namespace app
