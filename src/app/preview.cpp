#include "app/preview.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>

#include "app/ini_file.h"
#include "app/settings.h"
#include "platform/app_title.h"
#include "platform/errors.h"
#include "platform/path_util.h"
#include "platform/system_info.h"
#include "platform/text.h"
#include "removal/skip_list.h"
#include "scan/quiet_scan_host.h"
#include "scan/scan_driver.h"

namespace app {

namespace {

constexpr wchar_t kUsage[] =
    L"用法: Tidymate.exe preview <扫描模式> <报告文件>\r\n"
    L"扫描模式: 0 清洁计算机, 1 清除历史记录, 2 自定义清洁";

TPreviewRequest BadArguments(const std::wstring& problem)
{
    TPreviewRequest request;
    request.Error = problem + L"\r\n\r\n" + kUsage;
    return request;
}

void ShowPreviewMessage(const std::wstring& text, UINT icon)
{
    MessageBoxW(nullptr, text.c_str(), platform::kAppTitle, MB_OK | icon | MB_SETFOREGROUND);
}

scan::TResultsInputs ResultsInputs(const TSettings& settings, const removal::TSkipList& skipList)
{
    scan::TResultsInputs inputs;
    inputs.UseTimeBuffer = settings.UseTimeBuffer;
    for (int rule = 0; rule < scan::kUserRuleCount; ++rule)
        inputs.UserRuleTexts[rule] = settings.UserRules[rule].Text;
    inputs.CheckRedoEntry = [&skipList](const std::wstring& item) { return skipList.CheckRedoEntry(item); };
    return inputs;
}

// With TIDYMATE_PREVIEW_MEMORY set to a file name: writes the peak working set after the
// scan, the finding count and the characters of their texts there, for the benchmark.
void WriteMemoryFigures(const scan::TResultsList& results)
{
    wchar_t file[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"TIDYMATE_PREVIEW_MEMORY", file, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    PROCESS_MEMORY_COUNTERS counters{};
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return;
    unsigned long long characters = 0;
    for (const scan::TResultGroup& group : results.Groups())
        for (const std::wstring& finding : group.Findings)
            characters += finding.size();
    if (FILE* out = _wfopen(file, L"w")) {
        std::fprintf(out, "%llu %zu %llu\n", static_cast<unsigned long long>(counters.PeakWorkingSetSize),
                     results.FindingCount(), characters);
        std::fclose(out);
    }
}

// The scan itself; returns the report.
std::wstring PreviewScan(const std::wstring& exePath, int scanMode)
{
    const std::wstring programFolder = platform::FolderPart(exePath);
    const std::wstring iniPath = programFolder + kSettingsFileName;
    TSettings settings;
    LoadSettings(settings, iniPath);
    settings.Drives = ReadDriveSelection(TMemIniFile(iniPath));
    const removal::TSkipList skipList(removal::SkipListPath(programFolder));

    scan::TScanState state;
    state.ScanMode = static_cast<uint8_t>(scanMode);
    state.OSKind = platform::OSKindFromOSInfo(platform::GetOSInfo());
    state.Settings = &settings;
    scan::TResultsList results;
    results.SetInputs(ResultsInputs(settings, skipList));
    scan::TQuietScanHost host(state, results);
    scan::TScanPlaces places;
    places.WindowsDir = platform::WindowsFolder();
    scan::TScanDriver driver(state, host, host, std::move(places));
    driver.Button1Click(false);
    WriteMemoryFigures(results);
    return PreviewReport(results);
}

}  // namespace

TPreviewRequest ParsePreviewArguments(const std::vector<std::wstring>& arguments)
{
    if (arguments.size() < 2)
        return BadArguments(L"缺少扫描模式.");
    const std::wstring& mode = arguments[1];
    if (mode != L"0" && mode != L"1" && mode != L"2")
        return BadArguments(L"扫描模式 \"" + mode + L"\" 无效.");
    if (arguments.size() < 3 || arguments[2].empty())
        return BadArguments(L"缺少报告文件.");
    if (arguments.size() > 3)
        return BadArguments(L"参数过多: \"" + arguments[3] + L"\".");
    TPreviewRequest request;
    request.ScanMode = mode[0] - L'0';
    request.ReportFile = arguments[2];
    return request;
}

std::wstring PreviewReport(const scan::TResultsList& results)
{
    std::wstring report;
    for (const scan::TResultGroup& group : results.Groups()) {
        report += group.Text + L"\r\n";
        for (const std::wstring& finding : group.Findings)
            report += L"  " + finding + L"\r\n";
    }
    report += std::to_wstring(results.ProblemCount()) + L" 个问题, " + scan::SizeText(results.TotalSize()) + L"\r\n";
    return report;
}

int RunPreviewCommand(const std::wstring& exePath, const std::vector<std::wstring>& arguments)
{
    const TPreviewRequest request = ParsePreviewArguments(arguments);
    if (!request.Valid()) {
        ShowPreviewMessage(request.Error, MB_ICONWARNING);
        return kPreviewBadArguments;
    }
    try {
        const std::wstring report = PreviewScan(exePath, request.ScanMode);
        platform::WriteFileAtomic(request.ReportFile, platform::ToUtf8(report));
    } catch (const std::exception& error) {
        ShowPreviewMessage(platform::ErrorText(error), MB_ICONERROR);
        return kPreviewFailed;
    }
    return kPreviewDone;
}

}  // namespace app
