#include "ui/window_scan_host.h"

#include "main_window_ids.h"
#include "platform/path_util.h"
#include "removal/skip_list.h"
#include "scan/catalogue.h"
#include "scan/clean_dir_plan.h"
#include "scan_pages_ids.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"

#include <array>
#include <memory>

namespace ui {

namespace {

constexpr UINT_PTR kWaitCursorSubclassId = 0x5C4E;

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return platform::FolderPart(path);
}

}  // namespace

TWindowScanHost::TWindowScanHost(TForm1& form, TScanPage& scanPage, TResultsPage& resultsPage,
                                 scan::TResultsList& results)
    : form_(form),
      scanPage_(scanPage),
      resultsPage_(resultsPage),
      results_(results),
      view_(results, scanPage, resultsPage),
      skipListPath_(removal::SkipListPath(ProgramFolder()))
{
    results_.SetListener(&view_);
    scanPage_.suiButton9Click = [this] { suiButton9Click(); };
    resultsPage_.Commands = {
        [this] { suiButton6Click(); },
        [this] { suiButton38Click(); },
        [this] { suiButton11Click(); },
        [this] { Button2Click(); },
        [this](HTREEITEM node) { view_.GroupOpening(node); },
    };
    resultsPage_.Label95.SetFont(platform::Window(resultsPage_.Item(IDC_PAGE_TITLE)).Font());
    SetPrintEnabled(false);
    SetWindowSubclass(form_.Handle(), FormSubclassProc, kWaitCursorSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

TWindowScanHost::~TWindowScanHost()
{
    results_.SetListener(nullptr);
    if (IsWindow(form_.Handle()))
        RemoveWindowSubclass(form_.Handle(), FormSubclassProc, kWaitCursorSubclassId);
}

const app::TSettings& TWindowScanHost::Settings() const
{
    static const app::TSettings defaults;
    return settings_ ? *settings_ : defaults;
}

// ---- Keeping the window alive ----

void TWindowScanHost::PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The window has closed; the program's own loop ends on it.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsWindow(form_.Handle()) && IsDialogMessageW(form_.Handle(), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void TWindowScanHost::RepaintIfDue()
{
    if (repaint_.Due()) {
        Flush();
        UpdateWindow(form_.Handle());
    }
}

void TWindowScanHost::ProcessMessages()
{
    if (pump_.Due())
        PumpMessages();
    RepaintIfDue();
}

void TWindowScanHost::Flush()
{
    view_.Flush();
    if (progressPending_) {
        progressPending_ = false;
        scanPage_.Label17.SetText(pendingProgress_);
    }
    repaint_.Restart();
}

// ---- IScanHost ----

void TWindowScanHost::ChangeLabel(int categoryIndex)
{
    ProcessMessages();
    results_.ChangeLabel(categoryIndex);
    RepaintIfDue();
}

void TWindowScanHost::ListBoxAddString(const std::wstring& path, const std::wstring& alternatePath)
{
    Added(results_.ListBoxAddString(path, alternatePath));
}

void TWindowScanHost::ListBoxAddEntry(const std::wstring& path, const std::wstring& alternatePath,
                                      const platform::FileEntry& entry)
{
    const scan::TLookupResult known = scan::EntryLookup(entry);
    Added(results_.ListBoxAddString(path, alternatePath, &known));
}

void TWindowScanHost::Added(bool listed)
{
    if (!listed)
        return;
    ProcessMessages();
    if (form_.SoundOn) {
        form_.PlaySystemSound(MB_ICONEXCLAMATION);
        ProcessMessages();
    }
}

bool TWindowScanHost::StopRequested() const { return form_.StopRequested; }

void TWindowScanHost::ShowCurrentFolder(const std::wstring& folder) { ShowProgressText(L"当前文件夹: " + folder); }

void TWindowScanHost::ShowProgressText(const std::wstring& text)
{
    pendingProgress_ = text;
    progressPending_ = true;
    RepaintIfDue();
}

void TWindowScanHost::ShowMessage(const std::wstring& text)
{
    Flush();
    form_.suiShowMessage(text);
}

// ---- IScanDriverUi ----

bool TWindowScanHost::Busy() const { return form_.Busy; }

void TWindowScanHost::ChangeBusy(bool busy) { form_.ChangeBusy(busy); }

void TWindowScanHost::SetScanCommandsEnabled(bool enabled)
{
    for (int item : {CleanPC1, RemoveTracks1, RunCleanerSettings1})
        form_.suiMainMenu1.SetEnabled(item, enabled);
}

void TWindowScanHost::SetStopRequested(bool stop) { form_.StopRequested = stop; }

void TWindowScanHost::SetPrintEnabled(bool enabled)
{
    const bool canPrint = enabled && static_cast<bool>(hooks.PrintList);
    resultsPage_.suiButton6.Enable(canPrint);
    form_.suiMainMenu1.SetEnabled(PrintList1, canPrint);
}

void TWindowScanHost::ResetCounters() { results_.ResetCounters(); }

int TWindowScanHost::ProblemCount() const { return results_.ProblemCount(); }

void TWindowScanHost::SetResultsPage(bool scanning)
{
    SetPrintEnabled(!scanning);
    resultsPage_.suiButton38.Enable(!scanning);
    resultsPage_.suiButton11.Enable(!scanning);
    form_.suiMainMenu1.SetEnabled(DeleteJunkFiles1, !scanning);
    resultsPage_.Button2.Enable(!scanning);
    if (!scanning) {
        ShowResultsPage();
        return;
    }
    // A new scan starts from nothing.
    results_.ResetCounters();
    Flush();
    resultsPage_.Label2.SetText(L"0");
    resultsPage_.Label3.SetText(L"个问题已找到");
    scanPage_.Label14.SetText(L"0");
    scanPage_.Label11.SetText(L"个问题");
    resultsPage_.Label95.SetText(L"");
    resultsPage_.Label96.SetText(L"");
    platform::Window(form_.Handle()).Repaint();
}

void TWindowScanHost::ShowResultsPage()
{
    Flush();
    view_.OpenGroupsIfFew();
    form_.TurnPage(scan::kResultsPage);
    SetPrintEnabled(true);
}

void TWindowScanHost::BlankList()
{
    const app::TSettings& settings = Settings();
    std::array<bool, scan::kCategoryCount> takesPart{};
    for (int i = 0; i < scan::kCategoryCount; ++i)
        takesPart[static_cast<size_t>(i)] = scan::CategoryTakesPart(settings, form_.ScanMode, i);

    scan::TResultsInputs inputs;
    inputs.UseTimeBuffer = settings.UseTimeBuffer;
    for (int r = 0; r < scan::kUserRuleCount; ++r)
        inputs.UserRuleTexts[static_cast<size_t>(r)] = settings.UserRules[static_cast<size_t>(r)].Text;
    // Loaded once per scan; a skip list that exists but cannot be read stops the scan, so
    // nothing the user chose to keep is offered for removal.
    auto skipList = std::make_shared<removal::TSkipList>(skipListPath_);
    inputs.CheckRedoEntry = [skipList](const std::wstring& text) { return skipList->CheckRedoEntry(text); };
    results_.SetInputs(std::move(inputs));

    results_.BlankList(takesPart);
    Flush();
    platform::Window(scanPage_.ListView1.Handle()).Repaint();
}

void TWindowScanHost::TurnPage(int index)
{
    Flush();
    form_.TurnPage(index);
}

void TWindowScanHost::SetWaitCursor(bool wait)
{
    waitCursor_ = wait;
    SetCursor(LoadCursorW(nullptr, wait ? IDC_WAIT : IDC_ARROW));
}

void TWindowScanHost::ShowStopButton(const std::wstring& caption)
{
    if (!caption.empty())
        scanPage_.suiButton9.SetText(caption);
    scanPage_.suiButton9.Show(!caption.empty());
}

void TWindowScanHost::SetProgressText(const std::wstring& text)
{
    progressPending_ = false;
    scanPage_.Label17.SetText(text);
    UpdateWindow(scanPage_.Label17.Handle());
}

void TWindowScanHost::RestoreWindow()
{
    if (IsIconic(form_.Handle()))
        ShowWindow(form_.Handle(), SW_RESTORE);
}

void TWindowScanHost::RemoveFindings() { Button2Click(); }

// ---- Buttons ----

void TWindowScanHost::suiButton9Click() { form_.StopRequested = true; }

void TWindowScanHost::SkipSelected(bool always)
{
    Flush();
    const std::vector<scan::TNodeRef> selection = view_.SelectedNodes();
    if (selection.empty()) {
        form_.suiShowMessage(removal::kNothingSelectedMessage);
        return;
    }
    resultsPage_.TreeView1.SetRedraw(false);
    try {
        if (always)
            removal::SkipSelectedFindings(results_, selection, skipListPath_);
        else
            removal::DropSelectedFindings(results_, selection);
    } catch (...) {
        resultsPage_.TreeView1.SetRedraw(true);
        throw;
    }
    resultsPage_.TreeView1.SetRedraw(true);
    InvalidateRect(resultsPage_.TreeView1.Handle(), nullptr, TRUE);
    Flush();
}

void TWindowScanHost::suiButton38Click() { SkipSelected(true); }

void TWindowScanHost::suiButton11Click() { SkipSelected(false); }

void TWindowScanHost::Button2Click()
{
    Flush();
    if (hooks.Button2Click)
        hooks.Button2Click();
}

void TWindowScanHost::suiButton6Click()
{
    if (hooks.PrintList)
        hooks.PrintList();
}

LRESULT CALLBACK TWindowScanHost::FormSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                   DWORD_PTR data)
{
    const auto* self = reinterpret_cast<const TWindowScanHost*>(data);
    if (message == WM_SETCURSOR && self->waitCursor_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(window, FormSubclassProc, kWaitCursorSubclassId);
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace ui
