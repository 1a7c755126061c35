// The registry cleaning page (page 13): a tick box per history list with its "列出项目"
// button, "清洁勾选的列表 >>", the run-in-main-scan box and a panel advertising the maker's
// registry cleaner. The boxes edit the settings model at once and show it each time the page
// is turned to, so a box mirrored on another page agrees. "<< 返回更多的清洁工具" goes up to
// the main window.
#pragma once

#include "app/settings.h"
#include "platform/controls/button.h"
#include "platform/controls/check_box.h"
#include "ui/frame_page.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

// Work behind the page's buttons. A button whose hook is unset is disabled.
struct TRegistryPageHooks {
    // "清洁勾选的列表 >>": the scan of the ticked lists.
    std::function<void()> CleanTickedLists;
    // "列出项目": the history list viewer for a list's category (72..84).
    std::function<void(int category)> ListItems;
    // Opens a web address; the default opens it with the shell and reports nothing.
    std::function<void(const std::wstring& address)> OpenWebPage;
    // suiCheckBox81 changed RunInMainScan; its mirror on the settings page follows.
    std::function<void(bool on)> RunInMainScanChanged;
};

class TRegistryPage : public FramePage {
public:
    static constexpr wchar_t kRegloomAddress[] = L"http://www.kelvo.com/regloom/";

    TRegistryPage();

    // The model the boxes show and edit; shown at once when the page exists.
    void Bind(app::TSettings& settings);
    TRegistryPageHooks hooks;

    // The row controls of a list, by category.
    platform::CheckBox TickBox(int category) const;
    platform::Button ListButton(int category) const;

    void suiButton31Click();
    void suiCheckBox81Click();

    platform::CheckBox suiCheckBox81;
    platform::Button suiButton31;

    void OnSetActive() override;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    struct Row {
        int category;
        platform::CheckBox tick;
        platform::Button list;
    };

    bool OnRowCommand(int id);
    bool OnPageCommand(int id);
    void CreateRows();
    HWND CreateRowControl(const wchar_t* className, const std::wstring& text, DWORD style, int id, RECT dialogUnits) const;
    void ShowSettings();
    void ShowAvailableWork();
    const Row* RowAt(int category) const;

    std::vector<Row> rows_;
    app::TSettings* settings_ = nullptr;
};

}  // namespace ui
