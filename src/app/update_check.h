// The check for a newer version: downloads the version file that the maker publishes, finds
// the version in it, compares it with the program's own and offers the download page.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace app {

inline constexpr wchar_t kVersionFileAddress[] = L"http://www.kelvo.com/tidymate/pad.xml";
inline constexpr wchar_t kDownloadPageAddress[] = L"http://www.kelvo.com/tidymate/download.htm";
// Saved in the program's folder and left there.
inline constexpr wchar_t kVersionFileName[] = L"pad_file.tmp";

inline constexpr wchar_t kCannotDownloadText[] = L"无法获取在线版本信息";
inline constexpr wchar_t kCannotParseText[] = L"无法分析版本号";
inline constexpr wchar_t kUpToDateText[] = L"没有新的更新.  您使用的已是最新版本";
inline constexpr wchar_t kDownloadQuestionCaption[] = L"发现更新";
inline constexpr wchar_t kDownloadQuestionText[] = L"发现一个新版本的 Kelvo Tidymate.  您想要下载它吗?";
inline constexpr wchar_t kCloseQuestionCaption[] = L"关闭 Kelvo";
inline constexpr wchar_t kCloseQuestionText[] = L"在安装版本前, 您必须关闭 Kelvo Tidymate.  您要立即关闭它吗?";

using TVersion = std::array<std::uint32_t, 3>;

// The text between "<PROGRAM_VERSION>" and "</PROGRAM_VERSION>" (any letter case). Once a
// line holds the opening tag, the following lines are joined to it until the closing tag
// shows. Empty when the tags are missing.
std::wstring FindProgramVersion(const std::vector<std::wstring>& lines);

// Three whole numbers separated by full stops ("1.01.66"); nothing for any other shape.
std::optional<TVersion> ParseVersion(const std::wstring& text);

// The version in the about window's text: what follows "v." up to the first space
// ("v.1.01.65  12/20/2008" gives "1.01.65").
std::wstring VersionOfAboutText(const std::wstring& aboutText);

// What the check needs from the window.
class IUpdateCheckUi {
public:
    virtual ~IUpdateCheckUi() = default;
    virtual void ShowMessage(const std::wstring& text) = 0;
    // A Yes/No question with the information icon; true for Yes.
    virtual bool AskYesNo(const std::wstring& text, const std::wstring& caption) = 0;
    virtual void OpenPage(const std::wstring& address) = 0;
    virtual void EndProgram() = 0;
};

struct TUpdateAddresses {
    std::wstring VersionFile = kVersionFileAddress;
    std::wstring DownloadPage = kDownloadPageAddress;
};

enum class TUpdateOutcome { CannotDownload, CannotParse, UpToDate, Declined, PageOpened, EndProgram };

// Downloads the version file to `programFolder` + "pad_file.tmp" (blocking), compares and
// asks. Throws platform::AppError when the downloaded file cannot be read.
TUpdateOutcome CheckForUpdates(const TUpdateAddresses& addresses, const std::wstring& programFolder,
                               const std::wstring& aboutVersionText, IUpdateCheckUi& ui);

}  // namespace app
