// TForm4, the about window: a white framed panel with the logo, the version, the maker's web
// address as a link and "确 定". The same window serves as the splash window at start-up,
// then with "正在载入..." and without the button.
#pragma once

#include "platform/controls/button.h"
#include "platform/controls/window.h"
#include "platform/dialog.h"

#include <shellapi.h>

#include <functional>
#include <string>

namespace ui {

inline constexpr wchar_t kAboutVersionText[] = L"v.1.01.65  12/20/2008";
inline constexpr wchar_t kHomePageAddress[] = L"http://www.kelvo.com/";

class TForm4 : public platform::Dialog {
public:
    static constexpr int kClientWidth = 324;
    static constexpr int kClientHeight = 232;

    TForm4() = default;
    ~TForm4() override;

    // Creates the window without owner as the splash, shows it and paints it at once.
    void ShowSplash();
    // The about box of the menu: modal, with "确 定" and without "正在载入...".
    INT_PTR ShowModal(HWND owner);

    // The link: opens the home page in the default browser.
    void Label4Click();

    // Caption of Label5; the check for updates reads the program's version from it.
    std::wstring Label5Caption = kAboutVersionText;
    // Opens an address with the shell; a seam for tests.
    std::function<void(HWND owner, const std::wstring& address)> OpenAddress = [](HWND owner,
                                                                                   const std::wstring& address) {
        ShellExecuteW(owner, nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };

    platform::Window Label2;
    platform::Window Label4;
    platform::Window Label5;
    platform::Button suiButton1;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void MakeFonts();
    void PaintPanel(HDC dc) const;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) const;

    bool splash_ = false;
    HFONT nameFont_ = nullptr;
    HFONT linkFont_ = nullptr;
};

}  // namespace ui
