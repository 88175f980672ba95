#include "daily_date.h"

#include "calendar/calendar_rules.h"

#include <algorithm>

DailyDate PreviousDay(DailyDate date) {
    if (--date.day > 0) {
        return date;
    }
    if (--date.month == 0) {
        date.month = 12;
        if (--date.year < kFirstDailyDate.year) {
            return kFirstDailyDate;
        }
    }
    date.day = DaysInMonth(date.year, date.month);
    return date;
}

DailyDate NextDay(DailyDate date) {
    if (++date.day <= DaysInMonth(date.year, date.month)) {
        return date;
    }
    date.day = 1;
    if (++date.month == 13) {
        date.month = 1;
        if (++date.year > kLastDailyDate.year) {
            return kLastDailyDate;
        }
    }
    return date;
}

DailyDate PreviousMonth(DailyDate date) {
    if (--date.month == 0) {
        date.month = 12;
        if (--date.year < kFirstDailyDate.year) {
            return kFirstDailyDate;
        }
    }
    date.day = std::min(date.day, DaysInMonth(date.year, date.month));
    return date;
}

DailyDate NextMonth(DailyDate date) {
    if (++date.month == 13) {
        date.month = 1;
        if (++date.year > kLastDailyDate.year) {
            return kLastDailyDate;
        }
    }
    date.day = std::min(date.day, DaysInMonth(date.year, date.month));
    return date;
}
