#include "app/schedule.h"

#include <windows.h>

#include <cstdio>

namespace app {

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date, and back.
long DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

Date CivilFromDays(long z)
{
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long dayOfEra = z - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long mp = (5 * dayOfYear + 2) / 153;
    const int d = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yearOfEra + era * 400 + (m <= 2));
    return {y, m, d};
}

long Serial(const Date& date) { return DaysFromCivil(date.year, date.month, date.day); }

}  // namespace

Date Today()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay};
}

std::optional<Date> ValidDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    const Date date{year, month, day};
    if (CivilFromDays(Serial(date)) != date)
        return std::nullopt;
    return date;
}

int FrequencyIntervalDays(int frequency)
{
    switch (frequency) {
    case 0: return 1;
    case 1: return 7;
    case 2: return 14;
    case 3: return 30;
    default: return 0;
    }
}

bool IsDue(int frequency, const std::optional<Date>& lastRun, const Date& today)
{
    const int interval = FrequencyIntervalDays(frequency);
    if (interval == 0)
        return false;
    const Date last = lastRun.value_or(today);
    return Serial(last) + interval <= Serial(today);
}

Date AddDays(const Date& date, int days) { return CivilFromDays(Serial(date) + days); }

std::wstring TodayUndoName(const Date& today)
{
    wchar_t digits[16];
    std::swprintf(digits, 16, L"%04d%02d%02d", today.year, today.month, today.day);
    return std::wstring(L"撤销") + digits;
}

}  // namespace app
