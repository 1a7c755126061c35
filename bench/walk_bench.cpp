// Times a Clean PC drive walk over one folder tree, with a host that does nothing, and
// the same walk with one platform listing per pattern for comparison.
//   walk_bench.exe ROOT
// prints: walk_ms findings folders pumps listing_only_ms naive_ms naive_findings
#include <windows.h>

#include <cstdio>
#include <functional>

#include "platform/files.h"
#include "platform/path_util.h"
#include "scan/catalogue.h"
#include "scan/clean_dir_plan.h"
#include "scan/folder_walk.h"

namespace {

class TQuietHost : public scan::IScanHost {
public:
    void ChangeLabel(int) override {}
    void ListBoxAddString(const std::wstring&, const std::wstring&) override { ++findings; }
    void ProcessMessages() override { ++pumps; }
    bool StopRequested() const override { return false; }
    void ShowCurrentFolder(const std::wstring&) override { ++folders; }
    void ShowMessage(const std::wstring&) override {}
    long findings = 0;
    long pumps = 0;
    long folders = 0;
};

double MillisecondsOf(const std::function<void()>& action)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    action();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The walk as one listing per pattern: every folder listed again for each mask step.
void NaiveWalk(scan::TFolderWalk& walk, const std::vector<scan::TCleanStep>& plan, const std::wstring& folder)
{
    for (const scan::TCleanStep& step : plan) {
        if (step.Kind == scan::TStepKind::Mask)
            for (const std::wstring& mask : scan::SourceMasks(scan::Category(step.Category)))
                walk.SearchForFile(folder + mask, scan::ftMask);
        else if (step.Kind == scan::TStepKind::EmptyFile)
            walk.SearchForFile(folder + L"*", scan::ftEmptyFile);
        else if (step.Kind == scan::TStepKind::Shortcut)
            walk.SearchForFile(folder + L"*.lnk", step.Test);
    }
    for (const platform::FileEntry& entry : platform::ListFolder(folder))
        if (entry.IsFolder() && !entry.IsReparsePoint())
            NaiveWalk(walk, plan, folder + entry.name + L"\\");
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: walk_bench ROOT\n");
        return 2;
    }
    const std::wstring root = argv[1];
    const app::TSettings settings;
    scan::TScanState state;
    state.Settings = &settings;
    state.ScanMode = scan::smCleanPC;

    TQuietHost host;
    scan::TFolderWalk walk(state, host, {{root, true}});
    const double single = MillisecondsOf([&] { walk.SearchThruHD(scan::fwFullWalk); });

    // The same walk with no category taking part: the cost of listing alone.
    app::TSettings nothingTicked;
    for (app::TCategorySetting& category : nothingTicked.Categories)
        category.Enabled = false;
    scan::TScanState bareState;
    bareState.Settings = &nothingTicked;
    bareState.ScanMode = scan::smCustom;
    TQuietHost bareHost;
    scan::TFolderWalk bareWalk(bareState, bareHost, {{root, true}});
    const double listingOnly = MillisecondsOf([&] { bareWalk.SearchThruHD(scan::fwFullWalk); });

    TQuietHost naiveHost;
    scan::TScanState naiveState;
    naiveState.Settings = &settings;
    naiveState.ScanMode = scan::smCleanPC;
    scan::TFolderWalk naiveWalk(naiveState, naiveHost, {});
    const std::vector<scan::TCleanStep> plan = scan::BuildCleanDirPlan(settings, scan::smCleanPC);
    const double naive = MillisecondsOf([&] { NaiveWalk(naiveWalk, plan, platform::CheckPath(root)); });

    std::printf("%.0f %ld %ld %ld %.0f %.0f %ld\n", single, host.findings, host.folders, host.pumps, listingOnly,
                naive, naiveHost.findings);
    return 0;
}
