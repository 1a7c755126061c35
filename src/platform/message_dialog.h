// The skinned message dialog: a text, up to three buttons in the Windows message-box
// layouts, an optional system icon. Shown modally and centred on the screen.
#pragma once

#include "platform/dialog.h"

#include <string>
#include <vector>

namespace platform {

struct MessageButton {
    std::wstring caption;
    int result;  // IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO
};

class MessageDialog : public Dialog {
public:
    MessageDialog();

    // Layouts 0..5 are the MB_OK .. MB_RETRYCANCEL codes; any other value gives the OK layout.
    static std::vector<MessageButton> ButtonLayout(int buttons);

    void SetButtons(int buttons) { buttons_ = ButtonLayout(buttons); }
    const std::vector<MessageButton>& Buttons() const { return buttons_; }
    // MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION or MB_ICONASTERISK; 0 for none.
    void SetIcon(int icon) { icon_ = icon; }
    // One "确定" button, no icon.
    void RestoreDefaults();

    // Shows the dialog and returns the result of the button that closed it.
    int Execute(HWND owner, const std::wstring& text, const std::wstring& caption);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    // The result that Esc and the close box give; 0 when the layout has none.
    int CancelResult() const;
    void Arrange();

    std::wstring text_;
    std::wstring caption_;
    std::vector<MessageButton> buttons_;
    int icon_ = 0;
};

// Configures the dialog for one call, shows it and restores the default layout afterwards.
int ShowMessageBox(MessageDialog& dialog, HWND owner, const std::wstring& text, const std::wstring& caption,
                   int buttons, int icon);

}  // namespace platform
