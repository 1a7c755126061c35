// TForm7, the check-for-updates window: skinned, stays on top, a heading and "继续", which
// runs the check and closes the window. Messages and questions are standard message boxes.
#pragma once

#include "app/update_check.h"
#include "platform/controls/button.h"
#include "platform/dialog.h"
#include "platform/skin.h"

#include <shellapi.h>

#include <functional>
#include <string>

namespace ui {

class TForm7 : public platform::Dialog, private app::IUpdateCheckUi {
public:
    static constexpr int kClientWidth = 320;
    static constexpr int kClientHeight = 150;

    TForm7();
    ~TForm7() override;

    // Shows the window modally; IDOK once "继续" has done its work.
    INT_PTR ShowModal(HWND owner);

    // "继续": the check, then the window closes.
    void suiButton1Click();

    platform::SkinManager suiThemeManager1;
    platform::Button suiButton1;

    // Where the version file and the download page are; tests point them elsewhere.
    app::TUpdateAddresses Addresses;
    // The folder that receives the version file (with a trailing backslash).
    std::wstring ProgramFolder;
    // The about window's version text.
    std::function<std::wstring()> AboutVersionText;
    // Opens an address with the shell's "open" verb; a seam for tests.
    std::function<void(HWND owner, const std::wstring& address)> OpenAddress = [](HWND owner,
                                                                                   const std::wstring& address) {
        ShellExecuteW(owner, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    };
    // Set when the user chose to close the program for the new version; the caller ends it.
    bool EndProgramRequested = false;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ShowMessage(const std::wstring& text) override;
    bool AskYesNo(const std::wstring& text, const std::wstring& caption) override;
    void OpenPage(const std::wstring& address) override;
    void EndProgram() override;


    HFONT headingFont_ = nullptr;
};

}  // namespace ui
