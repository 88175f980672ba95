// The dates the daily calendar steps through, kept within 1900-01-01 and
// 2099-12-31.
#pragma once

struct DailyDate {
    int year = 1900;
    int month = 1;
    int day = 1;
    bool operator==(const DailyDate&) const = default;
};

inline constexpr DailyDate kFirstDailyDate{1900, 1, 1};
inline constexpr DailyDate kLastDailyDate{2099, 12, 31};

DailyDate PreviousDay(DailyDate date);
DailyDate NextDay(DailyDate date);
// The day is cut to the new month's length.
DailyDate PreviousMonth(DailyDate date);
DailyDate NextMonth(DailyDate date);
