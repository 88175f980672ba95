// The calendar arithmetic both calendars share: weekdays, month lengths and
// the day codes of a month (Sundays, the rule file's holidays, the equinox
// days, substitute holidays and national holidays between two holidays).
#pragma once

#include "data/tab_database.h"

#include <array>

// Day codes: 0-997 are rows of the holiday rules (named holidays).
inline constexpr int kDayFree = -1;
inline constexpr int kDayVernalEquinox = 998;
inline constexpr int kDayAutumnalEquinox = 999;
inline constexpr int kDaySunday = 1000;
inline constexpr int kDaySubstitute = 1001;
inline constexpr int kDayNational = 1004;

using DayCodes = std::array<int, 31>; // days 1-31

// 0 = Sunday ... 6 = Saturday, Gregorian.
int WeekdayOf(int year, int month, int day);
inline int WeekdayOfFirst(int year, int month) {
    return WeekdayOf(year, month, 1);
}
int DaysInMonth(int year, int month);
// The equinox day of March or September of the year, 0 outside the table.
int EquinoxDay(int year, int month);
DayCodes BuildDayCodes(const CTabDataBase& holidays, int year, int month);
// The label of a day code, or nullptr for ordinary days and Sundays.
const char16_t* DayLabel(const CTabDataBase& holidays, int code);
