// Times the undo batch, as the removal uses it, moving every file of a folder into today's
// weekly undo archive, and prints the milliseconds it took, the pump calls, and the numbers moved and not removed.
//   undo_bench.exe SOURCE_FOLDER PROGRAM_FOLDER
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/path_util.h"
#include "removal/undo_archive.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fwprintf(stderr, L"usage: undo_bench SOURCE_FOLDER PROGRAM_FOLDER\n");
        return 2;
    }
    const std::wstring source = platform::CheckPath(argv[1]);
    std::vector<std::wstring> files;
    for (const platform::FileEntry& entry : platform::ListFolder(source)) {
        if (entry.IsFile())
            files.push_back(source + entry.name);
    }
    int pumps = 0;
    removal::UndoWriter writer;
    writer.place = {platform::CheckPath(argv[2]), L"撤销20090312"};
    writer.pump = [&pumps] { ++pumps; };
    removal::RemovalCounters counters;

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    {
        // As the removal does it: batches of files under one journal and one flush.
        removal::TUndoZipBatch batch(writer, counters);
        for (const std::wstring& file : files)
            batch.Add(file, true, false);
        batch.Flush();
    }
    QueryPerformanceCounter(&end);

    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    std::printf("%.0f %d %d %d\n", ms, pumps, counters.ProblemCount, counters.NotRemovedCount);
    return counters.NotRemovedCount == 0 ? 0 : 1;
}
