#include "ui/main_window.h"

#include "main_window_ids.h"
#include "platform/app_title.h"
#include "platform/error_report.h"
#include "platform/path_util.h"
#include "platform/window_placement.h"
#include "registry_page_ids.h"
#include "resource.h"
#include "scan_pages_ids.h"
#include "ui/main_menu.h"
#include "ui/results_page.h"
#include "ui/scan_page.h"
#include "ui/window_scan_host.h"
#include "ui/registry_page.h"
#include "ui/settings_page.h"
#include "settings_page_ids.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace ui {

namespace {

constexpr int kHeaderHeight = 64;
constexpr int kPageIndices[] = {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};

int PageTemplate(int index)
{
    switch (index) {
    case 0: return IDD_PAGE_WELCOME;
    case 1: return IDD_PAGE_SCAN;
    case 2: return IDD_PAGE_RESULTS;
    case 4: return IDD_PAGE_FINISHED;
    case 5: return IDD_PAGE_SCAN_CHOICE;
    case 6: return IDD_PAGE_TOOLS;
    case 10: return IDD_PAGE_SETTINGS;
    case 13: return IDD_PAGE_REGISTRY;
    default: return IDD_PAGE_BLANK;
    }
}

HFONT MakeFont(int height, int weight, bool underline = false)
{
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
}

std::wstring TodayDigits()
{
    SYSTEMTIME today{};
    GetLocalTime(&today);
    wchar_t digits[16];
    swprintf(digits, 16, L"%04u%02u%02u", today.wYear, today.wMonth, today.wDay);
    return digits;
}

}  // namespace

TForm1::TForm1() : suiMainMenu1(MainMenuEntries()), Timer1(kStartTimerId, 1000)
{
    wchar_t exe[MAX_PATH];
    if (GetModuleFileNameW(nullptr, exe, MAX_PATH))
        ProgramFolder = platform::FolderPart(exe);
    SetSkin(&suiThemeManager1);
    suiMessageDialog1.SetSkin(&suiThemeManager1);
}

TForm1::~TForm1()
{
    if (Handle()) {
        platform::SetErrorMessageOwner(nullptr, nullptr);
        DestroyWindow(Handle());
    }
    for (HFONT font : {titleFont_, subtitleFont_, pageTitleFont_, linkFont_})
        DeleteObject(font);
}

void TForm1::FormCreate()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ListBoxHints.Install();
    if (!Create(nullptr, IDD_MAIN))
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "main window");
}

bool TForm1::OnInit()
{
    StopRequested = false;
    Timer1.Attach(Handle());
    SetWindowTextW(Handle(), platform::kAppTitle);
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TIDYMATE));
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    MakeFonts();
    suiMainMenu1.Install(Handle());
    ShowVistaItems(false);
    SetSound(false);
    CreatePages();
    ApplySkin(suiThemeManager1.UIStyle());

    FitClientArea();
    platform::CenterOnScreen(Handle(), true);
    platform::Window(Item(IDC_HEADER_BAND)).Move(RECT{0, 0, kClientWidth, kHeaderHeight});
    PageControl1.SetBounds(RECT{0, kHeaderHeight, kClientWidth, kClientHeight});
    platform::SetErrorMessageOwner(Handle(), &suiThemeManager1);
    return false;
}

void TForm1::MakeFonts()
{
    titleFont_ = MakeFont(26, FW_BOLD);
    subtitleFont_ = MakeFont(13, FW_NORMAL);
    pageTitleFont_ = MakeFont(17, FW_BOLD);
    linkFont_ = MakeFont(12, FW_NORMAL, true);
}

void TForm1::CreatePages()
{
    for (int index : kPageIndices) {
        std::unique_ptr<FramePage> page = MakePage(index);
        page->SetSkin(&suiThemeManager1);
        if (!page->Create(Handle(), PageTemplate(index)))
            throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), "page");
        if (HWND title = page->Item(IDC_PAGE_TITLE))
            platform::Window(title).SetFont(pageTitleFont_);
        for (int linkId : {IDC_FAQ_LINK, IDC_REGLOOM_LINK}) {
            if (HWND link = page->Item(linkId)) {
                page->AddLink(linkId);
                platform::Window(link).SetFont(linkFont_);
            }
        }
        // The page keeps its default button by id: the button's style alone gets lost when the
        // focus moves around the nested pages.
        const LRESULT defaultId = SendMessageW(page->Handle(), DM_GETDEFID, 0, 0);
        if (HIWORD(defaultId) == DC_HASDEFID)
            SendMessageW(page->Handle(), DM_SETDEFID, LOWORD(defaultId), 0);
        PageControl1.Add(index, *page);
        pages_[index] = std::move(page);
    }
    const std::pair<platform::Button*, int> buttons[] = {
        {&suiButton1, IDC_SUI_BUTTON1},
        {&CleanPCButton, IDC_CLEAN_PC_BUTTON},
        {&RemoveTracksButton, IDC_REMOVE_TRACKS_BUTTON},
        {&RunSettingsButton, IDC_RUN_SETTINGS_BUTTON},
        {&ChangeSettingsButton, IDC_CHANGE_SETTINGS_BUTTON},
        {&FinishedExitButton, IDC_FINISHED_EXIT_BUTTON},
        {&FinishedSettingsButton, IDC_FINISHED_SETTINGS_BUTTON},
        {&FinishedToolsButton, IDC_FINISHED_TOOLS_BUTTON},
        {&FinishedUndoButton, IDC_FINISHED_UNDO_BUTTON},
    };
    for (const auto& [button, id] : buttons) {
        for (const auto& [index, page] : pages_) {
            if (HWND control = page->Item(id))
                button->Attach(control);
        }
        button->Enable(IsCommandAvailable(id));
    }
    ScanHost = std::make_unique<TWindowScanHost>(*this, *scanPage_, *resultsPage_, Results);
    PagePictures.ShowStored(PageControl1);
}

std::unique_ptr<FramePage> TForm1::MakePage(int index)
{
    if (index == 1) {
        auto page = std::make_unique<TScanPage>();
        scanPage_ = page.get();
        return page;
    }
    if (index == 2) {
        auto page = std::make_unique<TResultsPage>();
        resultsPage_ = page.get();
        return page;
    }
    if (index == 10) {
        auto page = std::make_unique<TSettingsPage>();
        settingsPage_ = page.get();
        page->hooks.ShowMessage = [this](const std::wstring& text) { suiShowMessage(text); };
        page->hooks.RunInMainScanChanged = [this](bool on) { registryPage_->suiCheckBox81.SetChecked(on); };
        return page;
    }
    if (index == 13) {
        auto page = std::make_unique<TRegistryPage>();
        registryPage_ = page.get();
        page->hooks.RunInMainScanChanged = [this](bool on) { settingsPage_->suiCheckBox4.SetChecked(on); };
        return page;
    }
    return std::make_unique<FramePage>();
}

TRegistryPage& TForm1::RegistryCleaningPage() const { return *registryPage_; }
TSettingsPage& TForm1::CleanerSettingsPage() const { return *settingsPage_; }

// Sizes the window so that its client area, below the menu bar, is exactly 646 x 552.
void TForm1::FitClientArea()
{
    platform::SetClientSize(Handle(), kClientWidth, kClientHeight, true);
    // A menu bar that wraps onto two lines takes more room than the adjustment allowed for.
    const RECT client = platform::Window(Handle()).ClientRect();
    RECT window{};
    GetWindowRect(Handle(), &window);
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left + kClientWidth - client.right,
                 window.bottom - window.top + kClientHeight - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
}

void TForm1::FormShow()
{
    wchar_t folder[MAX_PATH];
    if (GetWindowsDirectoryW(folder, MAX_PATH))
        WindowsDir = platform::CheckPath(folder);
    if (GetSystemDirectoryW(folder, MAX_PATH))
        SystemDir = platform::CheckPath(folder);
    HelpFile = ProgramFolder + L"trimdex.hlp";
    PagePictures.LoadFiles(ProgramFolder, PageControl1);
    if (hooks.FormShow)
        hooks.FormShow();
    ShowVistaItems(OSKind == 8);
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    TurnPage(0);
    TodayUndoName = L"撤销" + TodayDigits();
    Timer1.SetEnabled(true);
}

bool TForm1::OnTimer(UINT_PTR timerId)
{
    if (timerId != kStartTimerId)
        return false;
    Timer1.SetEnabled(false);
    if (hooks.OnTimer)
        hooks.OnTimer();
    return true;
}

void TForm1::TurnPage(int index)
{
    PageControl1.SetActivePage(index);
    if (SoundOn)
        PlaySystemSound(MB_ICONEXCLAMATION);
    platform::Window(PageControl1.PageAt(index).Handle()).Repaint();
    FocusPage(index);
}

// The keyboard goes on with the new page: its default button, else its first push button.
// Lists and trees are not focused here: a tree selects its first item when it takes the
// focus, and the page's buttons would then act on an item the user never chose. The focus
// stays where it is when another window has it.
void TForm1::FocusPage(int index)
{
    HWND focus = GetFocus();
    if (focus && focus != Handle() && !IsChild(Handle(), focus))
        return;
    HWND page = PageControl1.PageAt(index).Handle();
    const LRESULT defaultId = SendMessageW(page, DM_GETDEFID, 0, 0);
    HWND target = HIWORD(defaultId) == DC_HASDEFID ? GetDlgItem(page, LOWORD(defaultId)) : nullptr;
    if (target && (!IsWindowVisible(target) || !IsWindowEnabled(target)))
        target = nullptr;
    HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
    for (HWND item = first; item && !target;) {
        if (SendMessageW(item, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))
            target = item;
        item = GetNextDlgTabItem(page, item, FALSE);
        if (item == first)
            break;
    }
    if (target && IsChild(page, target))
        SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
}

void TForm1::ChangeBusy(bool busy)
{
    Busy = busy;
    for (int menu : kBusyLockedMenus)
        suiMainMenu1.SetEnabled(menu, !busy);
}

void TForm1::SoundisOn1Click()
{
    if (suiMainMenu1.Tag(SoundisOn1) == 1) {
        suiMainMenu1.SetCaption(SoundisOn1, L"打开音效(&T)");
        suiMainMenu1.SetTag(SoundisOn1, 0);
    } else {
        suiMainMenu1.SetCaption(SoundisOn1, L"关闭音效(&T)");
        suiMainMenu1.SetTag(SoundisOn1, 1);
    }
    SoundOn = suiMainMenu1.Tag(SoundisOn1) == 1;
}

void TForm1::SetSound(bool on)
{
    suiMainMenu1.SetCaption(SoundisOn1, on ? L"关闭音效(&T)" : L"打开音效(&T)");
    suiMainMenu1.SetTag(SoundisOn1, on ? 1 : 0);
    SoundOn = on;
}

void TForm1::SkinClick(int senderId)
{
    const auto item = std::find(kSkinItems.begin(), kSkinItems.end(), senderId);
    if (item == kSkinItems.end())
        return;
    ApplySkin(static_cast<int>(item - kSkinItems.begin()) + 1);
}

void TForm1::ApplySkin(int style)
{
    suiThemeManager1.SetUIStyle(style);
    suiMainMenu1.SetChecked(kSkinItems[static_cast<size_t>(suiThemeManager1.UIStyle() - 1)], true);
    suiMainMenu1.SetBackground(suiThemeManager1.FaceBrush());
    for (platform::SkinManager* follower : SkinFollowers)
        follower->SetUIStyle(suiThemeManager1.UIStyle());
}

void TForm1::ShowVistaItems(bool visible)
{
    suiMainMenu1.SetVisible(N9, visible);
    suiMainMenu1.SetVisible(SkipWindowsDefenderinVista1, visible);
}

void TForm1::suiShowMessage(const std::wstring& text)
{
    suiMessageBox(text, platform::kAppTitle, MB_OK, 0);
}

int TForm1::suiMessageBox(const std::wstring& text, const std::wstring& caption, int buttons, int icon)
{
    return platform::ShowMessageBox(suiMessageDialog1, Handle(), text, caption, buttons, icon);
}

std::uint16_t TForm1::GetStringExtent(const std::wstring& text) const
{
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, platform::Window(Handle()).Font());
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    return static_cast<std::uint16_t>(std::clamp<long>(size.cx + metrics.tmAveCharWidth, 0, 0xFFFF));
}

void TForm1::FormClose()
{
    StopRequested = true;
    ChangeBusy(false);
    Timer1.SetEnabled(false);
    // The window closes even when the settings cannot be stored; the user has seen why.
    try {
        if (hooks.WriteSettings)
            hooks.WriteSettings();
    } catch (const std::exception& error) {
        platform::ShowErrorMessage(error);
    }
    DestroyWindow(Handle());
}

void TForm1::PaintHeader(const DRAWITEMSTRUCT& item) const
{
    suiThemeManager1.PaintHeader(item.hDC, item.rcItem, platform::kAppTitle, titleFont_,
                                 L"清除无用文件和历史记录, 让您的计算机保持整洁", subtitleFont_);
}

bool TForm1::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_HEADER_BAND)
            return false;
        PaintHeader(*item);
        result = TRUE;
        return true;
    }
    case DM_GETDEFID: {
        // Enter means the default button of the page shown.
        const int active = PageControl1.ActivePageIndex();
        if (!PageControl1.Contains(active))
            return false;
        result = SendMessageW(PageControl1.PageAt(active).Handle(), DM_GETDEFID, 0, 0);
        return HIWORD(result) == DC_HASDEFID;
    }
    case WM_CLOSE:
        FormClose();
        return true;
    case WM_DESTROY:
        Timer1.SetEnabled(false);
        PostQuitMessage(0);
        return true;
    }
    return false;
}

}  // namespace ui
