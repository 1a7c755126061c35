// The main window's menu bar: command ids named after the menu items, and the table the
// bar is built from.
#pragma once

#include "platform/menu_bar.h"

#include <array>
#include <vector>

namespace ui {

enum MainMenuId : int {
    File1 = 2000, CleanPC1, RemoveTracks1, RunCleanerSettings1, PrintList1, DeleteJunkFiles1, GotoStart1,
    GotoCleanerSettings1, GotoCleaningAccessories1, RestoreRemovedFiles1, Exit1,

    AutomaticScan1 = 2100, EnableDailyScan1, EnableWeeklyScan1, PerformScanTwiceaMonth1, EnableMonthlyScan1,
    DoNotPerformScan1, CleanPC2, RemoveTracks2, RunSettings2, ClosewhenFinished1, ShutDownwhenFinished1, N9,
    SkipWindowsDefenderinVista1,

    Sound1 = 2200, SoundisOn1,

    Skins1 = 2300, MacOS1, WinXP1, DeepBlue1, Protein1, BlueGlass1,

    Settings1 = 2400, ChangeSettings1,

    GoTo1 = 2500, Instructions1, Search1, ShowSystemProperties1, AboutKelvoTidymate1,

    Order1 = 2600, CheckforUpdates1,
};

enum MainMenuRadioGroup : int { kFrequencyGroup = 1, kScanTypeGroup = 2, kSkinGroup = 3 };

// The top menus that are disabled while the window is busy ("声音" is not among them).
inline constexpr std::array<int, 6> kBusyLockedMenus = {File1, AutomaticScan1, Skins1, Settings1, GoTo1, Order1};

// The skin menu items, indexed by skin value - 1.
inline constexpr std::array<int, 5> kSkinItems = {MacOS1, WinXP1, DeepBlue1, Protein1, BlueGlass1};

std::vector<platform::MenuEntry> MainMenuEntries();

// Whether the work behind a command (menu item or page button) exists yet; the commands
// that answer false are shown disabled.
bool IsCommandAvailable(int id);

}  // namespace ui
