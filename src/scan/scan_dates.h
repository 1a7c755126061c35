// Dates as the scan compares them: local date and time as a day serial (days since
// 30 December 1899, time of day as the fraction), and the clock the searches read.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace scan {

using TDateSerial = double;

// The current local date and time; injected so that date rules can be tested.
using TClock = std::function<TDateSerial()>;

TDateSerial LocalNowSerial();

// The serial of a calendar date and time (no time zone applied).
TDateSerial SerialOf(const SYSTEMTIME& time);

// A file time (UTC) in local time; empty for a zero time or one that cannot be converted.
std::optional<TDateSerial> LocalSerialOf(const FILETIME& utcTime);

// Today at 00:00 for a clock reading.
TDateSerial TodayOf(TDateSerial now);

// Whether a file time lies before `limit` (a local serial). An unconvertible time never does.
bool TimeBefore(const FILETIME& utcTime, TDateSerial limit);

}  // namespace scan
