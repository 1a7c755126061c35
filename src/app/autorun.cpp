#include "app/autorun.h"

namespace app {

namespace {

void WriteDate(TIniFile& ini, const Date& date)
{
    ini.WriteInteger(kAutoRunSection, L"Year", date.year);
    ini.WriteInteger(kAutoRunSection, L"Month", date.month);
    ini.WriteInteger(kAutoRunSection, L"Day", date.day);
}

}  // namespace

bool DecideBootupAutoScan(TIniFile& ini, const Date& today)
{
    bool autoScan = ini.ReadBool(kAutoRunSection, L"switch", false);
    if (autoScan)
        return true;

    const int frequency = ini.ReadInteger(kAutoRunSection, L"Freq", 4);
    if (FrequencyIntervalDays(frequency) != 0) {
        const int day = ini.ReadInteger(kAutoRunSection, L"Day", today.day);
        const int month = ini.ReadInteger(kAutoRunSection, L"Month", today.month);
        const int year = ini.ReadInteger(kAutoRunSection, L"Year", today.year);
        const std::optional<Date> lastRun = ValidDate(year, month, day);
        if (IsDue(frequency, lastRun, today)) {
            WriteDate(ini, today);
            autoScan = true;
        } else if (!lastRun) {
            WriteDate(ini, today);
        }
    }
    ini.WriteBool(kAutoRunSection, L"switch", autoScan);
    return autoScan;
}

}  // namespace app
