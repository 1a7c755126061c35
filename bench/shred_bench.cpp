// Times ShredFile with overwriting on for one file and prints the milliseconds it took.
//   shred_bench.exe PATH
#include <windows.h>

#include <cstdio>

#include "removal/shred.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: shred_bench PATH\n");
        return 2;
    }
    const removal::ShredOptions options{.UseNoRemainsDeletion = true};
    removal::RemovalCounters counters{.ProblemCount = 1};
    int pumps = 0;
    removal::ShredCallbacks callbacks;
    callbacks.pump = [&pumps] { ++pumps; };

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    removal::ShredFile(argv[1], false, options, counters, callbacks);
    QueryPerformanceCounter(&end);

    const double ms = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    const bool removed = GetFileAttributesW(argv[1]) == INVALID_FILE_ATTRIBUTES;
    std::printf("%.0f %d %d\n", ms, pumps, removed && counters.NotRemovedCount == 0 ? 1 : 0);
    return removed ? 0 : 1;
}
