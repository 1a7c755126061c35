#include <gtest/gtest.h>

#include "app/schedule.h"
#include "support/test_support.h"

using app::Date;

TEST(Schedule, DueCheck)
{
    struct Case {
        const char* what;
        int frequency;
        std::optional<Date> lastRun;
        Date today;
        bool due;
    } cases[] = {
        {"weekly, exactly seven days later", 1, Date{2008, 12, 13}, {2008, 12, 20}, true},
        {"weekly, one day short", 1, Date{2008, 12, 13}, {2008, 12, 19}, false},
        {"daily, next day", 0, Date{2008, 12, 31}, {2009, 1, 1}, true},
        {"every two weeks, thirteen days", 2, Date{2008, 2, 20}, {2008, 3, 4}, false},
        {"every two weeks, across a leap day", 2, Date{2008, 2, 20}, {2008, 3, 5}, true},
        {"monthly is thirty days, not a calendar month", 3, Date{2009, 1, 31}, {2009, 3, 1}, false},
        {"monthly, day thirty", 3, Date{2009, 1, 31}, {2009, 3, 2}, true},
        {"never", 4, Date{2000, 1, 1}, {2008, 12, 20}, false},
        {"unknown code behaves like never", 7, Date{2000, 1, 1}, {2008, 12, 20}, false},
        {"no stored date counts as today", 0, std::nullopt, {2008, 12, 20}, false},
        {"last run in the future", 0, Date{2009, 1, 1}, {2008, 12, 20}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::IsDue(c.frequency, c.lastRun, c.today), c.due) << c.what;
}

TEST(Schedule, ValidDateRejectsImpossibleDates)
{
    EXPECT_EQ(app::ValidDate(2008, 12, 13), (Date{2008, 12, 13}));
    EXPECT_EQ(app::ValidDate(2008, 2, 29), (Date{2008, 2, 29}));
    EXPECT_FALSE(app::ValidDate(2009, 2, 29));
    EXPECT_FALSE(app::ValidDate(2008, 13, 1));
    EXPECT_FALSE(app::ValidDate(2008, 4, 31));
    EXPECT_FALSE(app::ValidDate(-1, -1, -1));
}

TEST(Schedule, TodayUndoName)
{
    EXPECT_EQ(app::TodayUndoName({2008, 12, 20}), testing_support::Wide("撤销20081220"));
    EXPECT_EQ(app::TodayUndoName({2009, 1, 5}), testing_support::Wide("撤销20090105"));
}
