#include <windows.h>

#include "platform/path_util.h"
#include "platform/text.h"
#include "removal/undo_archive.h"

namespace removal {

namespace {

// Today's folder list, opened for appending before the folder goes, so that a folder is
// only removed when its line can be written.
class FolderListAppender {
public:
    explicit FolderListAppender(const std::wstring& path)
        : path_(path), existed_(GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
    {
        // Windows refuses to write a read-only file; Wine running as root would not, so ask first.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (existed_ && (attributes & FILE_ATTRIBUTE_READONLY))
            return;
        handle_ = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~FolderListAppender()
    {
        if (!IsOpen())
            return;
        const bool unused = !existed_ && !wrote_;
        CloseHandle(handle_);
        if (unused)
            DeleteFileW(path_.c_str());
    }
    FolderListAppender(const FolderListAppender&) = delete;
    FolderListAppender& operator=(const FolderListAppender&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }

    bool Append(const std::wstring& line)
    {
        const std::string bytes = platform::ToAnsi(line) + "\r\n";
        DWORD written = 0;
        wrote_ = WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                 written == bytes.size() && FlushFileBuffers(handle_);
        return wrote_;
    }

private:
    std::wstring path_;
    bool existed_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool wrote_ = false;
};

// "md" and the folder between double quotes: run as a batch file it re-creates the folder,
// blanks and all.
std::wstring FolderListLine(const std::wstring& folder) { return L"md \"" + folder + L"\""; }

}  // namespace

void AddToBat(const std::wstring& folder, bool weekly, const UndoWriter& writer, RemovalCounters& counters)
{
    if (folder.empty())
        return;
    FolderListAppender list(writer.place.FolderListPath(weekly));
    if (!list.IsOpen() || !platform::FitsAnsi(folder)) {
        ++counters.NotRemovedCount;
        return;
    }
    // Our own current folder must not hold the folder open.
    SetCurrentDirectoryW(folder.substr(0, 3).c_str());
    const std::wstring target = platform::RemoveSlash(folder);
    if (!RemoveDirectoryW(target.c_str())) {
        ++counters.NotRemovedCount;
        return;
    }
    if (list.Append(FolderListLine(folder))) {
        ++counters.ProblemCount;
    } else {
        CreateDirectoryW(target.c_str(), nullptr);
        ++counters.NotRemovedCount;
    }
    if (writer.pump)
        writer.pump();
}

}  // namespace removal
