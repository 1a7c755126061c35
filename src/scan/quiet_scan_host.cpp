#include "scan/quiet_scan_host.h"

#include <array>

#include "scan/clean_dir_plan.h"

namespace scan {

void TQuietScanHost::BlankList()
{
    std::array<bool, kCategoryCount> takesPart{};
    if (state_.Settings)
        for (int index = 0; index < kCategoryCount; ++index)
            takesPart[index] = CategoryTakesPart(*state_.Settings, state_.ScanMode, index);
    results_.BlankList(takesPart);
}

}  // namespace scan
