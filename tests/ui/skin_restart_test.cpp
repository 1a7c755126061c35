// The skin chosen in the menu holds for the progress window too, and comes back at the next
// start of the program.
#include "ui_test_helpers.h"

#include "app/program.h"
#include "ui/main_menu.h"
#include "support/test_support.h"

namespace ui_testing {
namespace {

struct RunResult {
    int mainStyle = 0;
    int progressStyle = 0;
};

// Starts the program in `dir`, optionally clicks a skin item once the window is up, reads
// the styles and closes the window.
RunResult RunProgram(const std::wstring& dir, int skinItem)
{
    app::TProgram program(dir + L"Tidymate.exe");
    program.Form1.PlaySystemSound = [](UINT) {};
    RunResult result;
    program.Form1.hooks.OnTimer = [&] {
        if (skinItem)
            SendMessageW(program.Form1.Handle(), WM_COMMAND, MAKEWPARAM(skinItem, 0), 0);
        result.mainStyle = program.Form1.suiThemeManager1.UIStyle();
        result.progressStyle = program.Progress.suiThemeManager1.UIStyle();
        PostMessageW(program.Form1.Handle(), WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(program.Run(app::StartKind::Interactive), 0);
    return result;
}

TEST(SkinRestart, ChosenSkinStylesTheProgressWindowAndComesBackAtTheNextStart)
{
    const std::wstring dir = testing_support::TestDir();
    testing_support::WriteFileBytes(dir + L"Trimdex.ini", "[DrivesSelected]\r\nC:\\=0\r\nD:\\=0\r\nE:\\=0\r\n");
    const RunResult first = RunProgram(dir, 0);
    EXPECT_EQ(first.mainStyle, 3) << "DeepBlue on first start";
    for (const auto& [item, style] : {std::pair{ui::Protein1, 4}, std::pair{ui::MacOS1, 1}}) {
        SCOPED_TRACE(style);
        const RunResult chosen = RunProgram(dir, item);
        EXPECT_EQ(chosen.mainStyle, style);
        EXPECT_EQ(chosen.progressStyle, style);
        const RunResult restarted = RunProgram(dir, 0);
        EXPECT_EQ(restarted.mainStyle, style);
        EXPECT_EQ(restarted.progressStyle, style);
    }
}

}  // namespace
}  // namespace ui_testing
