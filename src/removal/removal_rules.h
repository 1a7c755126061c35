// The decisions of the clean command that need no disk: which category a group header
// stands for, how its findings are removed, which files are never touched, and the report.
#pragma once

#include <optional>
#include <string>

#include "app/settings.h"
#include "scan/catalogue.h"

namespace removal {

// Where the uninstall entries of Windows updates live.
inline constexpr wchar_t kUninstallKeyBase[] =
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline constexpr int kOldWindowsUpdatesCategory = 85;

inline constexpr wchar_t kIndexDatDeferredMessage[] = L"无法直接删除的 index.dat 将在 Windows 重启后删除";

// The category of a group header: the last one, in index order, whose group caption the
// header begins with (case-sensitive). User rules take part only when switched on. Nothing
// when no caption matches.
std::optional<int> HeaderCategory(const std::wstring& caption, const app::TSettings& settings);

// The removal method of a category. The registry categories always delete; a method box with
// no valid item keeps an undo copy (rmZipKeep), so nothing is lost.
scan::TRemovalMethod MethodOf(int category, const app::TSettings& settings);

// DATA.BAK, OPA11.BAK, OPA12.BAK, OPA13.BAK, HPQGENDS.TMP, EUDORA.IDX and *.BKP in any case:
// files of other programs that look like junk but are not.
bool IsProtectedFileName(const std::wstring& path);

// The update name of an old update folder such as C:\WINDOWS\$NtUninstallKB123456$\ ("KB123456").
// Nothing when the folder is not one, or the name is empty or holds a backslash (it would name
// another key than the update's own).
std::optional<std::wstring> NtUninstallUpdateName(const std::wstring& folder);

// The closing report: the counts, and the usual causes when something stayed.
std::wstring RemovalReport(int problemCount, int notRemovedCount);

}  // namespace removal
