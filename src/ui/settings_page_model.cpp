#include "ui/settings_page_model.h"

#include "platform/text.h"

#include <stdexcept>
#include <string_view>

namespace ui {

namespace {

TCategoryRow MakeRow(int tab, const scan::TSettingsRow& row)
{
    for (const scan::TJunkCategory& category : scan::Catalogue())
        if (platform::SameText(category.Setting.EnableKey, row.Key))
            return {tab, category.Index, false, row.Colour, &category.Setting};
    const scan::TTickBoxSetting& stubborn = scan::StubbornIndexDatSetting();
    if (platform::SameText(stubborn.EnableKey, row.Key))
        return {tab, scan::kIndexDatCategory, true, row.Colour, &stubborn};
    throw std::logic_error("settings row without a tick box: " + platform::ToUtf8(row.Key));
}

std::vector<TCategoryRow> MakeRows()
{
    std::vector<TCategoryRow> rows;
    const auto tabs = scan::SettingsTabs();
    for (size_t tab = 0; tab < tabs.size(); ++tab)
        for (const scan::TSettingsRow& row : tabs[tab].Rows)
            rows.push_back(MakeRow(static_cast<int>(tab), row));
    return rows;
}

}  // namespace

app::TCategorySetting& TCategoryRow::Target(app::TSettings& settings) const
{
    return Stubborn ? settings.StubbornIndexDat : settings.Categories.at(static_cast<size_t>(Category));
}

const app::TCategorySetting& TCategoryRow::Target(const app::TSettings& settings) const
{
    return Stubborn ? settings.StubbornIndexDat : settings.Categories.at(static_cast<size_t>(Category));
}

const std::vector<TCategoryRow>& CategoryRows()
{
    static const std::vector<TCategoryRow> rows = MakeRows();
    return rows;
}

void CheckUnCheckSettings(app::TSettings& settings, bool on)
{
    settings.RunInMainScan = on;
    for (const TCategoryRow& row : CategoryRows())
        row.Target(settings).Enabled = on;
    if (!on)
        for (int rule = 0; rule < scan::kUserRuleCount; ++rule)
            settings.Categories[static_cast<size_t>(scan::kFirstUserRule + rule)].Enabled = false;
}

bool IsForbiddenRuleChar(wchar_t key)
{
    return key >= 32 && key <= 127 && std::wstring_view(L"\"/:<>\\|").find(key) != std::wstring_view::npos;
}

std::wstring DriveCaption(const std::wstring& displayName, bool hostDrive)
{
    return hostDrive ? displayName + kHostDriveNote : displayName;
}

}  // namespace ui
