#include "app/update_check.h"

#include "platform/errors.h"
#include "platform/files.h"
#include "platform/text.h"

#include <windows.h>
#include <urlmon.h>
#include <wininet.h>

namespace app {

namespace {

constexpr wchar_t kOpenTag[] = L"<PROGRAM_VERSION>";
constexpr wchar_t kCloseTag[] = L"</PROGRAM_VERSION>";

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
        if (end == std::wstring::npos)
            return parts;
        start = end + 1;
    }
}

std::optional<std::uint32_t> WholeNumber(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    const size_t last = text.find_last_not_of(L" \t");
    if (first == std::wstring::npos)
        return std::nullopt;
    std::uint64_t value = 0;
    for (size_t i = first; i <= last; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i] - L'0');
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::vector<std::wstring> ReadVersionFile(const std::wstring& path)
{
    if (!platform::FileExists(path))
        return {};
    std::optional<std::vector<std::wstring>> lines = platform::ReadTextLines(path);
    if (!lines)
        throw platform::AppError(L"无法读取文件 " + path);
    return *lines;
}

}  // namespace

std::wstring FindProgramVersion(const std::vector<std::wstring>& lines)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t open = platform::Upper(lines[i]).find(kOpenTag);
        if (open == std::wstring::npos)
            continue;
        std::wstring joined = lines[i];
        size_t close = std::wstring::npos;
        const size_t from = open + std::size(kOpenTag) - 1;
        while ((close = platform::Upper(joined).find(kCloseTag, from)) == std::wstring::npos && ++i < lines.size())
            joined += lines[i];
        if (close == std::wstring::npos)
            return L"";
        return joined.substr(from, close - from);
    }
    return L"";
}

std::optional<TVersion> ParseVersion(const std::wstring& text)
{
    const std::vector<std::wstring> parts = Split(text, L'.');
    if (parts.size() != 3)
        return std::nullopt;
    TVersion version{};
    for (size_t i = 0; i < 3; ++i) {
        const std::optional<std::uint32_t> number = WholeNumber(parts[i]);
        if (!number)
            return std::nullopt;
        version[i] = *number;
    }
    return version;
}

std::wstring VersionOfAboutText(const std::wstring& aboutText)
{
    if (aboutText.size() < 2 || aboutText.compare(0, 2, L"v.") != 0)
        return L"";
    const size_t space = aboutText.find(L' ', 2);
    return aboutText.substr(2, space == std::wstring::npos ? std::wstring::npos : space - 2);
}

TUpdateOutcome CheckForUpdates(const TUpdateAddresses& addresses, const std::wstring& programFolder,
                               const std::wstring& aboutVersionText, IUpdateCheckUi& ui)
{
    const std::wstring file = programFolder + kVersionFileName;
    // A copy in the browser cache would hide a newer file on the site.
    DeleteUrlCacheEntryW(addresses.VersionFile.c_str());
    if (FAILED(URLDownloadToFileW(nullptr, addresses.VersionFile.c_str(), file.c_str(), 0, nullptr))) {
        ui.ShowMessage(kCannotDownloadText);
        return TUpdateOutcome::CannotDownload;
    }
    const std::optional<TVersion> online = ParseVersion(FindProgramVersion(ReadVersionFile(file)));
    const std::optional<TVersion> own = ParseVersion(VersionOfAboutText(aboutVersionText));
    if (!online || !own) {
        ui.ShowMessage(kCannotParseText);
        return TUpdateOutcome::CannotParse;
    }
    if (!(*online > *own)) {
        ui.ShowMessage(kUpToDateText);
        return TUpdateOutcome::UpToDate;
    }
    if (!ui.AskYesNo(kDownloadQuestionText, kDownloadQuestionCaption))
        return TUpdateOutcome::Declined;
    ui.OpenPage(addresses.DownloadPage);
    if (!ui.AskYesNo(kCloseQuestionText, kCloseQuestionCaption))
        return TUpdateOutcome::PageOpened;
    ui.EndProgram();
    return TUpdateOutcome::EndProgram;
}

}  // namespace app
