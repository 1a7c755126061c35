#include "removal/undo_expiry.h"

#include <algorithm>
#include <exception>
#include <tuple>

#include "platform/files.h"
#include "platform/zip_archive.h"
#include "platform/zip_journal.h"

namespace removal {

namespace {

constexpr wchar_t kJournalSuffix[] = L".journal";

bool PathExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Rolls back every add that a killed process left unfinished. A journal that cannot be
// applied now stays, and its archive is then not judged by its contents.
void RecoverInterruptedAdds(const std::wstring& folder)
{
    for (const platform::FileEntry& entry : platform::ListDirectory(folder + kUndoPrefix + L"*" + kJournalSuffix)) {
        if (!entry.IsFile() || !EndsWith(entry.name, kJournalSuffix))
            continue;
        const std::wstring archive = folder + entry.name.substr(0, entry.name.size() - (std::size(kJournalSuffix) - 1));
        try {
            platform::ZipArchive::RecoverInterrupted(archive);
        } catch (const std::exception&) {
        }
    }
}

enum class ArchiveState { HasEntries, EmptyOrBroken, Unavailable };

ArchiveState ReadArchiveState(const std::wstring& path)
{
    if (PathExists(platform::zip::JournalPath(path)))
        return ArchiveState::Unavailable;
    try {
        return platform::ZipArchive(path).Entries().empty() ? ArchiveState::EmptyOrBroken : ArchiveState::HasEntries;
    } catch (const std::exception&) {
    }
    // Broken only when it opens; one that another program holds is left alone.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ArchiveState::Unavailable;
    CloseHandle(file);
    return ArchiveState::EmptyOrBroken;
}

class Expiry {
public:
    Expiry(const std::wstring& folder, const SYSTEMTIME& now, const ShredOptions& shred, ProgressWindow& progress)
        : folder_(folder), now_(now), shred_(shred), progress_(progress)
    {
    }

    void Handle(const std::wstring& fileName)
    {
        const std::optional<UndoFileName> name = ParseUndoFileName(fileName);
        if (!name)
            return;
        const bool expired = IsExpired(*name, now_);
        const std::wstring path = folder_ + fileName;
        if (name->extension == L".ZIP" && !name->part) {
            switch (ReadArchiveState(path)) {
            case ArchiveState::HasEntries:
            case ArchiveState::Unavailable:
                DeleteIfExpired(*name, path, expired);
                break;
            case ArchiveState::EmptyOrBroken:
                Delete(*name, path);
                break;
            }
        } else if (name->extension == L".ZIP") {
            if (expired && !progress_.Cancelled())
                Remove(path);
        } else if (name->extension == L".BAT" || name->extension == L".REG") {
            DeleteIfExpired(*name, path, expired);
        }
    }

    std::vector<std::wstring> TakeSets()
    {
        std::sort(sets_.begin(), sets_.end());
        return std::move(sets_);
    }

private:
    void DeleteIfExpired(const UndoFileName& name, const std::wstring& path, bool expired)
    {
        if (expired)
            Delete(name, path);
        else
            List(name);
    }

    void Delete(const UndoFileName& name, const std::wstring& path)
    {
        if (progress_.Cancelled())
            List(name);
        else
            Remove(path);
    }

    void Remove(const std::wstring& path)
    {
        RemovalCounters ignored;
        ShredCallbacks callbacks;
        callbacks.pump = [this] { progress_.Pump(); };
        ShredFile(path, false, shred_, ignored, callbacks);
        const std::wstring journal = platform::zip::JournalPath(path);
        if (!PathExists(path) && PathExists(journal))
            ShredFile(journal, false, shred_, ignored);
    }

    void List(const UndoFileName& name)
    {
        if (std::find(sets_.begin(), sets_.end(), name.setName) == sets_.end())
            sets_.push_back(name.setName);
    }

    std::wstring folder_;
    SYSTEMTIME now_;
    ShredOptions shred_;
    ProgressWindow& progress_;
    std::vector<std::wstring> sets_;
};

// Closes the progress window however the loop ends.
class OpenProgress {
public:
    OpenProgress(ProgressWindow& progress, int count) : progress_(progress)
    {
        progress_.Open(kDeleteOldUndoCaption);
        progress_.ShowBar(1, false);
        progress_.SetBar(0, 0, count);
    }
    ~OpenProgress() { progress_.Close(); }
    OpenProgress(const OpenProgress&) = delete;
    OpenProgress& operator=(const OpenProgress&) = delete;

private:
    ProgressWindow& progress_;
};

}  // namespace

bool IsExpired(const UndoFileName& name, const SYSTEMTIME& now)
{
    if (!name.weekly)
        return false;
    const app::Date end = app::AddDays(name.date, 7);
    const auto endKey = std::make_tuple(end.year, end.month, end.day, 0, 0, 0, 0);
    const auto nowKey = std::make_tuple(int{now.wYear}, int{now.wMonth}, int{now.wDay}, int{now.wHour},
                                        int{now.wMinute}, int{now.wSecond}, int{now.wMilliseconds});
    return endKey < nowKey;
}

std::vector<std::wstring> DeleteOldUndoFiles(const std::wstring& programFolder, const SYSTEMTIME& now,
                                             const ShredOptions& shred, ProgressWindow& progress)
{
    RecoverInterruptedAdds(programFolder);
    std::vector<platform::FileEntry> entries = platform::ListDirectory(programFolder + kUndoPrefix + L"*.*");
    std::sort(entries.begin(), entries.end(),
              [](const platform::FileEntry& a, const platform::FileEntry& b) { return a.name < b.name; });

    const int count = static_cast<int>(entries.size());
    const OpenProgress window(progress, count);
    Expiry expiry(programFolder, now, shred, progress);
    for (int i = 0; i < count; ++i) {
        progress.SetLabel(entries[i].name);
        progress.Pump();
        if (entries[i].IsFile())
            expiry.Handle(entries[i].name);
        progress.SetBar(0, i + 1, count);
    }
    return expiry.TakeSets();
}

}  // namespace removal
