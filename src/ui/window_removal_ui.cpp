// The window's side of a removal: the results page's progress line and bar, the title, the
// clean button's caption.
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/results_page.h"
#include "ui/scan_page.h"
#include "ui/window_scan_host.h"

#include <commctrl.h>

namespace ui {

bool TWindowScanHost::AutoScanActive() const { return form_.AutoScanActive; }

void TWindowScanHost::SetAutoScanActive(bool active) { form_.AutoScanActive = active; }

bool TWindowScanHost::CloseWhenFinished() const { return form_.suiMainMenu1.Checked(ClosewhenFinished1); }

int TWindowScanHost::ScanMode() const { return form_.ScanMode; }

void TWindowScanHost::ShowRemovalProgress(int maximum)
{
    Flush();
    for (const platform::Window* label :
         {&resultsPage_.Label2, &resultsPage_.Label3, &resultsPage_.Label95, &resultsPage_.Label96})
        label->Show(false);
    resultsPage_.Label88.SetText(L"");
    resultsPage_.Label88.Show(true);
    resultsPage_.ProgressBar1.Send(PBM_SETRANGE32, 0, maximum);
    resultsPage_.ProgressBar1.Send(PBM_SETPOS, 0, 0);
    resultsPage_.ProgressBar1.Show(true);
}

void TWindowScanHost::SetRemovalProgress(int position, const std::wstring& text)
{
    resultsPage_.ProgressBar1.Send(PBM_SETPOS, static_cast<WPARAM>(position), 0);
    resultsPage_.Label88.SetText(text);
    resultsPage_.ProgressBar1.Repaint();
    resultsPage_.Label88.Repaint();
}

void TWindowScanHost::SetRemovalProgressText(const std::wstring& text)
{
    resultsPage_.Label88.SetText(text);
    resultsPage_.Label88.Repaint();
}

void TWindowScanHost::HideRemovalProgress()
{
    resultsPage_.Label88.Show(false);
    resultsPage_.ProgressBar1.Show(false);
    for (const platform::Window* label :
         {&resultsPage_.Label2, &resultsPage_.Label3, &resultsPage_.Label95, &resultsPage_.Label96})
        label->Show(true);
}

void TWindowScanHost::SetTitle(const std::wstring& title) { SetWindowTextW(form_.Handle(), title.c_str()); }

void TWindowScanHost::SetCleanButtonCaption(const std::wstring& caption) { resultsPage_.Button2.SetText(caption); }

void TWindowScanHost::SetScanProblemCounter(const std::wstring& text) { scanPage_.Label14.SetText(text); }

void TWindowScanHost::suiShowMessage(const std::wstring& text) { form_.suiShowMessage(text); }

void TWindowScanHost::Pump() { ProcessMessages(); }

}  // namespace ui
