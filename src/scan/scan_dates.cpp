#include "scan/scan_dates.h"

#include <cmath>
#include <cstdint>

namespace scan {

namespace {

constexpr double kTicksPerDay = 864000000000.0;  // 100 ns ticks
constexpr double kDaysFrom1601To1899 = 109205.0;  // 1601-01-01 is serial -109205

TDateSerial SerialOfTicks(const FILETIME& time)
{
    const uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<double>(ticks) / kTicksPerDay - kDaysFrom1601To1899;
}

}  // namespace

TDateSerial SerialOf(const SYSTEMTIME& time)
{
    FILETIME ticks;
    if (!SystemTimeToFileTime(&time, &ticks))
        return 0;
    return SerialOfTicks(ticks);
}

TDateSerial LocalNowSerial()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return SerialOf(now);
}

std::optional<TDateSerial> LocalSerialOf(const FILETIME& utcTime)
{
    if (utcTime.dwLowDateTime == 0 && utcTime.dwHighDateTime == 0)
        return std::nullopt;
    FILETIME local;
    if (!FileTimeToLocalFileTime(&utcTime, &local))
        return std::nullopt;
    return SerialOfTicks(local);
}

TDateSerial TodayOf(TDateSerial now) { return std::floor(now); }

bool TimeBefore(const FILETIME& utcTime, TDateSerial limit)
{
    const std::optional<TDateSerial> serial = LocalSerialOf(utcTime);
    return serial && *serial < limit;
}

}  // namespace scan
