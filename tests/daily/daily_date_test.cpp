#include "daily/daily_date.h"

#include <gtest/gtest.h>

TEST(DailyDate, StepsStayInsideTheCalendarsRange) {
    using Step = DailyDate (*)(DailyDate);
    struct Case {
        const char* step;
        Step apply;
        DailyDate from, to;
    } cases[] = {
        {"next month", NextMonth, {2012, 2, 29}, {2012, 3, 29}},
        {"previous month", PreviousMonth, {2012, 3, 31}, {2012, 2, 29}},
        {"previous month", PreviousMonth, {2013, 3, 31}, {2013, 2, 28}},
        {"next month", NextMonth, {2009, 12, 15}, {2010, 1, 15}},
        {"previous month", PreviousMonth, {1900, 1, 1}, {1900, 1, 1}},
        {"previous month", PreviousMonth, {1900, 1, 20}, {1900, 1, 1}},
        {"next month", NextMonth, {2099, 12, 31}, {2099, 12, 31}},
        {"next month", NextMonth, {2099, 12, 5}, {2099, 12, 31}},
        {"previous day", PreviousDay, {1900, 1, 1}, {1900, 1, 1}},
        {"previous day", PreviousDay, {2012, 3, 1}, {2012, 2, 29}},
        {"previous day", PreviousDay, {2010, 1, 1}, {2009, 12, 31}},
        {"next day", NextDay, {2099, 12, 31}, {2099, 12, 31}},
        {"next day", NextDay, {2009, 12, 31}, {2010, 1, 1}},
        {"next day", NextDay, {2100 - 1, 2, 28}, {2099, 3, 1}},
    };
    for (const Case& c : cases) {
        DailyDate got = c.apply(c.from);
        EXPECT_EQ(got, c.to) << c.step << " from " << c.from.year << "-" << c.from.month << "-"
                             << c.from.day << " gave " << got.year << "-" << got.month << "-"
                             << got.day;
    }
}
