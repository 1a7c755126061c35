#include "ui/run_main_window.h"

#include "platform/error_report.h"
#include "platform/message_loop.h"

namespace ui {

int RunMainWindow(TForm1& form, const std::function<void()>& afterCreate)
{
    try {
        form.FormCreate();
        if (afterCreate)
            afterCreate();
        form.FormShow();
    } catch (const std::exception& error) {
        platform::ShowErrorMessage(error);
        if (!IsWindow(form.Handle()))
            return 1;
        ShowWindow(form.Handle(), SW_SHOW);
    }
    return platform::RunMessageLoop(form.Handle());
}

}  // namespace ui
