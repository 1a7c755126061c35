// The automatic scan's calendar: frequencies, the due check and the undo set's day name.
#pragma once

#include <optional>
#include <string>

namespace app {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
    bool operator==(const Date&) const = default;
};

// Today's local date.
Date Today();

// The date when year, month and day form a real calendar date.
std::optional<Date> ValidDate(int year, int month, int day);

// Days between two runs for a frequency code: 0 daily (1), 1 weekly (7), 2 every two weeks (14),
// 3 monthly (30); 4 and every other code never (0).
int FrequencyIntervalDays(int frequency);

// Whether an automatic scan is due today: the interval is not 0 and last run + interval is not
// later than today. A missing last run counts as today.
bool IsDue(int frequency, const std::optional<Date>& lastRun, const Date& today);

Date AddDays(const Date& date, int days);

// "撤销" followed by the date as yyyymmdd: the base name of the day's undo sets.
std::wstring TodayUndoName(const Date& today);

}  // namespace app
