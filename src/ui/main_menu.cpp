#include "ui/main_menu.h"

#include "main_window_ids.h"

#include <algorithm>

namespace ui {

namespace {

// Commands whose work is built later. Remove an id here when its handler does its job.
constexpr int kNotYetAvailable[] = {
    RestoreRemovedFiles1, IDC_FINISHED_UNDO_BUTTON,
};

}  // namespace

bool IsCommandAvailable(int id)
{
    return std::find(std::begin(kNotYetAvailable), std::end(kNotYetAvailable), id) == std::end(kNotYetAvailable);
}

std::vector<platform::MenuEntry> MainMenuEntries()
{
    std::vector<platform::MenuEntry> entries = {
        {File1, 0, L"程序"},
        {CleanPC1, File1, L"清洁计算机(&C)"},
        {RemoveTracks1, File1, L"清除历史记录(&R)"},
        {RunCleanerSettings1, File1, L"运行自定义清洁(&U)"},
        {0, File1, L""},
        // Enabled only while the results page holds findings.
        {PrintList1, File1, L"打印无用文件列表(&P)", 0, false},
        {DeleteJunkFiles1, File1, L"移除无用文件(&E)", 0, false},
        {0, File1, L""},
        {GotoStart1, File1, L"转到开始(&G)"},
        {GotoCleanerSettings1, File1, L"转到清洁设置(&O)"},
        {GotoCleaningAccessories1, File1, L"转到更多的清洁工具(&T)"},
        {RestoreRemovedFiles1, File1, L"转到撤销(&N)"},
        {0, File1, L""},
        {Exit1, File1, L"退出(&X)"},

        {AutomaticScan1, 0, L"自动扫描"},
        {EnableDailyScan1, AutomaticScan1, L"每天(&A)", kFrequencyGroup},
        {EnableWeeklyScan1, AutomaticScan1, L"每周(&W)", kFrequencyGroup},
        {PerformScanTwiceaMonth1, AutomaticScan1, L"每两周(&T)", kFrequencyGroup},
        {EnableMonthlyScan1, AutomaticScan1, L"每月(&M)", kFrequencyGroup},
        {DoNotPerformScan1, AutomaticScan1, L"不执行(&D)", kFrequencyGroup},
        {0, AutomaticScan1, L""},
        {CleanPC2, AutomaticScan1, L"清洁计算机(&C)", kScanTypeGroup},
        {RemoveTracks2, AutomaticScan1, L"清除历史记录(&R)", kScanTypeGroup},
        {RunSettings2, AutomaticScan1, L"运行自定义清洁(&U)", kScanTypeGroup},
        {0, AutomaticScan1, L""},
        {ClosewhenFinished1, AutomaticScan1, L"完成后关闭(&L)"},
        {0, AutomaticScan1, L""},
        // Enabled exactly while ClosewhenFinished1 is ticked.
        {ShutDownwhenFinished1, AutomaticScan1, L"完成后关闭计算机(&S)", 0, false},
        {N9, AutomaticScan1, L""},
        {SkipWindowsDefenderinVista1, AutomaticScan1, L"在 Vista 中跳过 Windows Defender(&V)"},

        {Sound1, 0, L"声音"},
        {SoundisOn1, Sound1, L"打开音效(&T)"},

        {Skins1, 0, L"更换皮肤"},
        {MacOS1, Skins1, L"MacOS(&M)", kSkinGroup},
        {WinXP1, Skins1, L"WinXP(&W)", kSkinGroup},
        {DeepBlue1, Skins1, L"深蓝(&Y)", kSkinGroup},
        {Protein1, Skins1, L"Protein(&P)", kSkinGroup},
        {BlueGlass1, Skins1, L"蓝玻璃(&Z)", kSkinGroup},

        {Settings1, 0, L"设置"},
        {ChangeSettings1, Settings1, L"更改设置(&C)"},

        {GoTo1, 0, L"帮助"},
        {Instructions1, GoTo1, L"介绍(&I)"},
        {Search1, GoTo1, L"搜索(&S)"},
        {0, GoTo1, L""},
        {ShowSystemProperties1, GoTo1, L"显示系统属性(&H)"},
        {0, GoTo1, L""},
        {AboutKelvoTidymate1, GoTo1, L"关于 Kelvo Tidymate(&A)"},

        {Order1, 0, L"Internet"},
        {CheckforUpdates1, Order1, L"检查更新"},
    };
    for (auto& entry : entries) {
        if (!IsCommandAvailable(entry.id))
            entry.enabled = false;
    }
    return entries;
}

}  // namespace ui
