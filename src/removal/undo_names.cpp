#include "removal/undo_names.h"

#include "platform/text.h"

namespace removal {

namespace {

constexpr size_t kPrefixLength = 2;
constexpr size_t kDateLength = 8;
constexpr wchar_t kWeeklyMarker[] = L"Temp";
constexpr size_t kWeeklyMarkerLength = 4;

std::optional<int> Digits(const std::wstring& text, size_t at, size_t count)
{
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < L'0' || text[i] > L'9')
            return std::nullopt;
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

}  // namespace

std::wstring UndoPlace::BaseName(bool weekly) const { return weekly ? todayStem + kWeeklyMarker : todayStem; }

std::wstring UndoPlace::ArchivePath(bool weekly) const { return programFolder + BaseName(weekly) + L".zip"; }

std::wstring UndoPlace::FolderListPath(bool weekly) const { return programFolder + BaseName(weekly) + L".bat"; }

std::wstring ArchivePartPath(const std::wstring& archivePath, int part)
{
    const size_t stem = archivePath.size() - 4;
    return archivePath.substr(0, stem) + L"-" + std::to_wstring(part) + archivePath.substr(stem);
}

std::optional<UndoFileName> ParseUndoFileName(const std::wstring& name)
{
    if (name.compare(0, kPrefixLength, kUndoPrefix) != 0 || name.size() < kPrefixLength + kDateLength + 4)
        return std::nullopt;
    const auto year = Digits(name, kPrefixLength, 4);
    const auto month = Digits(name, kPrefixLength + 4, 2);
    const auto day = Digits(name, kPrefixLength + 6, 2);
    if (!year || !month || !day)
        return std::nullopt;
    const std::optional<app::Date> date = app::ValidDate(*year, *month, *day);
    if (!date)
        return std::nullopt;

    UndoFileName parsed;
    parsed.date = *date;
    const std::wstring afterDate = name.substr(kPrefixLength + kDateLength, kWeeklyMarkerLength);
    parsed.weekly = platform::SameText(afterDate, kWeeklyMarker);
    parsed.part = name.find(L'-') != std::wstring::npos;
    const size_t dot = name.rfind(L'.');
    parsed.extension = dot == std::wstring::npos ? L"" : platform::Upper(name.substr(dot));
    parsed.setName = name.substr(0, name.size() - 4);
    return parsed;
}

}  // namespace removal
