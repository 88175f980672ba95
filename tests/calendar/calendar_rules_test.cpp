#include "calendar/calendar_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

struct Rule {
    int first, last, month;
    const char16_t* day;
    const char16_t* name;
};

// A holiday table as the rule file would give it.
class Rules {
public:
    Rules(std::initializer_list<Rule> rules) {
        table.Create(static_cast<int>(rules.size()), 5);
        int row = 0;
        for (const Rule& rule : rules) {
            table.SetCell(row, 0, Utf(rule.first).c_str());
            table.SetCell(row, 1, Utf(rule.last).c_str());
            table.SetCell(row, 2, Utf(rule.month).c_str());
            table.SetCell(row, 3, rule.day);
            table.SetCell(row, 4, rule.name);
            ++row;
        }
    }
    CTabDataBase table;

private:
    static std::u16string Utf(int value) {
        std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    }
};

} // namespace

TEST(CalendarRules, WeekdaysAndMonthLengths) {
    struct Case {
        int year, month, weekday;
    } cases[] = {{2009, 7, 3}, {2000, 3, 3}, {1900, 3, 4},
                 {2100, 2, 1}, {2012, 2, 3}, {1948, 1, 4}};
    for (const Case& c : cases) {
        EXPECT_EQ(WeekdayOfFirst(c.year, c.month), c.weekday) << c.year << "-" << c.month;
    }
    EXPECT_EQ(WeekdayOf(2009, 7, 5), 0);
    EXPECT_EQ(WeekdayOf(2099, 12, 31), 4);
    EXPECT_EQ(DaysInMonth(2012, 2), 29);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2013, 4), 30);
}

TEST(CalendarRules, EquinoxDaysComeFromTheYearTable) {
    struct Case {
        int year, month, day;
    } cases[] = {{2009, 3, 20}, {2009, 9, 23}, {2012, 3, 20}, {2012, 9, 22}, {1948, 3, 0},
                 {2100, 3, 0},  {1948, 9, 23}, {1979, 9, 24}, {2092, 3, 19}};
    CTabDataBase none;
    for (const Case& c : cases) {
        EXPECT_EQ(EquinoxDay(c.year, c.month), c.day) << c.year << "-" << c.month;
        DayCodes codes = BuildDayCodes(none, c.year, c.month);
        if (c.day != 0) {
            EXPECT_EQ(codes[c.day - 1], c.month == 3 ? kDayVernalEquinox : kDayAutumnalEquinox);
        }
    }
}

TEST(CalendarRules, SubstitutesBeforeAndFrom2007) {
    // 2006-01-01 and 2009-03-01 are Sundays.
    Rules rules{{2006, 2006, 1, u"1", u"元旦"}, {2006, 2006, 1, u"1", u"又一个"},
                {2006, 2006, 1, u"9", u"甲"},   {2006, 2006, 1, u"9", u"乙"},
                {2009, 2009, 3, u"1", u"丙"},   {2009, 2009, 3, u"2", u"丁"},
                {2009, 2009, 3, u"3", u"戊"}};
    DayCodes y2006 = BuildDayCodes(rules.table, 2006, 1);
    EXPECT_EQ(y2006[0], 1);              // the second rule for the day overwrites the first
    EXPECT_EQ(y2006[1], kDaySubstitute); // a Sunday holiday moves to the Monday
    EXPECT_EQ(y2006[8], 3);              // before 2007 a rule on a holiday gives no substitute
    EXPECT_EQ(y2006[9], kDayFree);

    // From 2007 the substitute is pushed along: Sunday the 1st, Monday the
    // 2nd and Tuesday the 3rd leave the 4th as the substitute.
    DayCodes y2009 = BuildDayCodes(rules.table, 2009, 3);
    EXPECT_EQ(y2009[0], 4);
    EXPECT_EQ(y2009[1], 5);
    EXPECT_EQ(y2009[2], 6);
    EXPECT_EQ(y2009[3], kDaySubstitute);
    EXPECT_EQ(DayLabel(rules.table, y2009[3]), std::u16string_view(u"补休假日"));
    EXPECT_EQ(DayLabel(rules.table, y2009[2]), std::u16string_view(u"戊"));
}

TEST(CalendarRules, NthMondayRulesAndRangesOfYears) {
    Rules rules{{2000, 2099, 6, u"M2", u"二"},
                {2000, 2099, 2, u"M2", u"二"},
                {2000, 2099, 2, u"M5", u"五"},
                {2000, 2008, 7, u"20", u"旧"}};
    EXPECT_EQ(WeekdayOfFirst(2009, 6), 1);
    EXPECT_EQ(BuildDayCodes(rules.table, 2009, 6)[7], 0); // a month starting Monday: the 8th
    EXPECT_EQ(WeekdayOfFirst(2011, 2), 2);
    EXPECT_EQ(BuildDayCodes(rules.table, 2011, 2)[13], 1); // starting Tuesday: the 14th
    for (int code : BuildDayCodes(rules.table, 2011, 2)) {
        EXPECT_NE(code, 2); // the fifth Monday would be the 35th
    }
    EXPECT_EQ(BuildDayCodes(rules.table, 2009, 7)[19], kDayFree); // outside its years
    EXPECT_EQ(BuildDayCodes(rules.table, 2008, 7)[19], 3);
}

TEST(CalendarRules, AFreeWeekdayBetweenTwoHolidaysBecomesANationalHoliday) {
    // September 2009: the 21st and the equinox on the 23rd enclose Tuesday the 22nd.
    Rules rules{{2009, 2009, 9, u"21", u"甲"},
                {2015, 2015, 11, u"21", u"乙"},
                {2015, 2015, 11, u"23", u"丙"}};
    DayCodes september = BuildDayCodes(rules.table, 2009, 9);
    EXPECT_EQ(september[21], kDayNational);
    EXPECT_EQ(DayLabel(rules.table, kDayNational), std::u16string_view(u"节假日"));
    // November 2015: the 22nd between them is a Sunday and stays one.
    EXPECT_EQ(WeekdayOf(2015, 11, 22), 0);
    EXPECT_EQ(BuildDayCodes(rules.table, 2015, 11)[21], kDaySunday);
}

TEST(CalendarRules, LabelsOfFixedCodesAndTooSmallTables) {
    CTabDataBase fourColumns;
    fourColumns.Create(3, 4);
    EXPECT_EQ(DayLabel(fourColumns, 0), nullptr);
    EXPECT_EQ(DayLabel(fourColumns, kDaySunday), nullptr);
    EXPECT_EQ(DayLabel(fourColumns, kDayFree), nullptr);
    EXPECT_EQ(DayLabel(fourColumns, kDayVernalEquinox), std::u16string_view(u"春分"));
    Rules one{{2000, 2000, 1, u"1", u"甲"}};
    EXPECT_EQ(DayLabel(one.table, 1), nullptr); // past the last row
}
