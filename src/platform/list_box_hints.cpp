#include "platform/list_box_hints.h"

#include <commctrl.h>

#include <vector>

namespace platform {

namespace {

constexpr UINT_PTR kSubclassId = 0x4C42;  // "LB"
// Marks a list box that shows hints already.
constexpr wchar_t kAttachedProperty[] = L"Tidymate.ListBoxHints";

// The tooltip of one list box and the item it shows.
struct HintState {
    HWND tip = nullptr;
    int item = -1;
    bool tracking = false;
};

bool IsPlainListBox(HWND window)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return lstrcmpiW(name, L"ListBox") == 0;
}

TTTOOLINFOW ToolOf(HWND listBox, wchar_t* text)
{
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    tool.hwnd = listBox;
    tool.uId = reinterpret_cast<UINT_PTR>(listBox);
    tool.lpszText = text;
    return tool;
}

HWND MakeTip(HWND listBox)
{
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                               GetAncestor(listBox, GA_ROOT), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tip)
        return nullptr;
    wchar_t empty[] = L"";
    TTTOOLINFOW tool = ToolOf(listBox, empty);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(tip, WM_SETFONT, SendMessageW(listBox, WM_GETFONT, 0, 0), FALSE);
    // The text then starts where the list box draws it.
    RECT margin{1, 0, 1, 0};
    SendMessageW(tip, TTM_SETMARGIN, 0, reinterpret_cast<LPARAM>(&margin));
    return tip;
}

void Hide(HWND listBox, HintState& state)
{
    if (state.tip && state.item >= 0) {
        wchar_t empty[] = L"";
        TTTOOLINFOW tool = ToolOf(listBox, empty);
        SendMessageW(state.tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    }
    state.item = -1;
}

void Show(HWND listBox, HintState& state, ListBoxHint& hint)
{
    if (!state.tip)
        state.tip = MakeTip(listBox);
    if (!state.tip)
        return;
    Hide(listBox, state);
    TTTOOLINFOW tool = ToolOf(listBox, hint.text.data());
    SendMessageW(state.tip, TTM_SETMAXTIPWIDTH, 0, hint.maxWidth);
    SendMessageW(state.tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(state.tip, TTM_TRACKPOSITION, 0, MAKELPARAM(hint.position.x, hint.position.y));
    SendMessageW(state.tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    // The tooltip may allow for its border around the point; the hint's corner is the point.
    RECT placed{};
    GetWindowRect(state.tip, &placed);
    if (placed.left != hint.position.x || placed.top != hint.position.y)
        SetWindowPos(state.tip, nullptr, hint.position.x, hint.position.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    state.item = hint.item;
}

void OnMouseMove(HWND listBox, HintState& state, POINT point)
{
    if (!state.tracking) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, listBox, 0};
        state.tracking = TrackMouseEvent(&track) != FALSE;
    }
    ListBoxHint hint = DoShowHint(listBox, point);
    if (!hint.show)
        Hide(listBox, state);
    else if (hint.item != state.item)
        Show(listBox, state, hint);
}

LRESULT CALLBACK ListBoxProc(HWND listBox, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data)
{
    auto* state = reinterpret_cast<HintState*>(data);
    switch (message) {
    case WM_MOUSEMOVE:
        OnMouseMove(listBox, *state, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        break;
    case WM_MOUSELEAVE:
        state->tracking = false;
        Hide(listBox, *state);
        break;
    // The items move or change under the mouse: the next move places the hint again.
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYDOWN:
    case LB_RESETCONTENT:
    case LB_DELETESTRING:
    case LB_INSERTSTRING:
    case LB_SETTOPINDEX:
    case WM_SHOWWINDOW:
    case WM_KILLFOCUS:
        Hide(listBox, *state);
        break;
    case WM_NCDESTROY:
        if (state->tip)
            DestroyWindow(state->tip);
        RemoveWindowSubclass(listBox, ListBoxProc, id);
        RemovePropW(listBox, kAttachedProperty);
        delete state;
        return DefSubclassProc(listBox, message, wParam, lParam);
    }
    return DefSubclassProc(listBox, message, wParam, lParam);
}

HHOOK g_hook = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && IsPlainListBox(reinterpret_cast<HWND>(wParam)))
        ListBoxHints::Attach(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

BOOL CALLBACK AttachExisting(HWND window, LPARAM)
{
    if (IsPlainListBox(window))
        ListBoxHints::Attach(window);
    return TRUE;
}

BOOL CALLBACK AttachInTopWindow(HWND window, LPARAM)
{
    AttachExisting(window, 0);
    EnumChildWindows(window, AttachExisting, 0);
    return TRUE;
}

}  // namespace

ListBoxHint DoShowHint(HWND listBox, POINT point)
{
    ListBoxHint hint;
    const LRESULT hit = SendMessageW(listBox, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    // The high word is set outside the client area and below the last item.
    if (HIWORD(hit) != 0 || point.x < 0 || point.y < 0)
        return hint;
    const int item = LOWORD(hit);
    const auto count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    if (count == LB_ERR || item >= count)
        return hint;
    RECT itemRect{};
    if (SendMessageW(listBox, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&itemRect)) == LB_ERR ||
        !PtInRect(&itemRect, point))
        return hint;
    const auto length = SendMessageW(listBox, LB_GETTEXTLEN, item, 0);
    if (length == LB_ERR)
        return hint;
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    const auto copied = SendMessageW(listBox, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    if (copied == LB_ERR)
        return hint;
    hint.text.assign(text.data(), static_cast<size_t>(copied));

    HDC dc = GetDC(listBox);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(listBox, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, hint.text.c_str(), static_cast<int>(hint.text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(listBox, dc);

    POINT corner{0, itemRect.top};
    ClientToScreen(listBox, &corner);
    hint.position = POINT{corner.x - 1, corner.y};
    hint.maxWidth = extent.cx + 1;
    hint.item = item;
    hint.itemRect = itemRect;
    hint.show = true;
    return hint;
}

void ListBoxHints::Install()
{
    if (hook_)
        return;
    hook_ = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
    g_hook = hook_;
    EnumThreadWindows(GetCurrentThreadId(), AttachInTopWindow, 0);
}

void ListBoxHints::Uninstall()
{
    if (!hook_)
        return;
    UnhookWindowsHookEx(hook_);
    if (g_hook == hook_)
        g_hook = nullptr;
    hook_ = nullptr;
}

void ListBoxHints::Attach(HWND listBox)
{
    if (GetPropW(listBox, kAttachedProperty))
        return;
    auto* state = new HintState;
    if (SetWindowSubclass(listBox, ListBoxProc, kSubclassId, reinterpret_cast<DWORD_PTR>(state)))
        SetPropW(listBox, kAttachedProperty, reinterpret_cast<HANDLE>(state));
    else
        delete state;
}

}  // namespace platform
