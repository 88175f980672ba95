#include "calendar_rules.h"

#include "base/text_to_int.h"

namespace {

constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool IsNamed(int code) {
    return code >= 0 && code <= kDayAutumnalEquinox;
}

int CellNumber(const CTabDataBase& table, int row, int column) {
    const char16_t* cell = table.GetCell(row, column);
    return cell == nullptr ? 0 : TextToInt(std::u16string_view(cell));
}

// The day a rule names: a number, or "M" and n for the n-th Monday.
int RuleDay(const char16_t* cell, int firstWeekday) {
    if (cell[0] == u'M') {
        int n = TextToInt(std::u16string_view(cell + 1));
        return 7 * n + (8 - firstWeekday) % 7 - 6;
    }
    return TextToInt(std::u16string_view(cell));
}

class MonthMarker {
public:
    MonthMarker(DayCodes& codes, int year) : codes_(codes), year_(year) {}

    // An occupied day hands its place on: before 2007 only a Sunday does,
    // to the next day; from 2007 any occupied day does, so consecutive
    // holidays push the substitute along one day per rule.
    void Mark(int day, int code) {
        int& old = codes_[day - 1];
        if (old >= 0 && (year_ > 2006 || old == kDaySunday) && day < 31) {
            codes_[day] = kDaySubstitute;
        }
        old = code;
    }

private:
    DayCodes& codes_;
    int year_;
};

} // namespace

int WeekdayOf(int year, int month, int day) {
    int m = month;
    int y = year;
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    int c = y / 100;
    int k = y - 100 * c;
    int h = (13 * (m + 1)) / 5 + k / 4 + c / 4 - 2 * c + k + 6 + day;
    h %= 7;
    return h < 0 ? h + 7 : h;
}

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12) {
        return 0;
    }
    bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return month == 2 && leap ? 29 : kDaysInMonth[month - 1];
}

int EquinoxDay(int year, int month) {
    if (month == 3 && year >= 1949 && year <= 2099) {
        switch (year % 4) {
        case 0:
            return year <= 1956 ? 21 : year <= 2091 ? 20 : 19;
        case 1:
            return year <= 1989 ? 21 : 20;
        case 2:
            return year <= 2022 ? 21 : 20;
        default:
            return year <= 2055 ? 21 : 20;
        }
    }
    if (month == 9 && year >= 1948 && year <= 2099) {
        switch (year % 4) {
        case 0:
            return year <= 2008 ? 23 : 22;
        case 1:
            return year <= 2041 ? 23 : 22;
        case 2:
            return year <= 2074 ? 23 : 22;
        default:
            return year <= 1979 ? 24 : 23;
        }
    }
    return 0;
}

DayCodes BuildDayCodes(const CTabDataBase& holidays, int year, int month) {
    DayCodes codes;
    codes.fill(kDayFree);
    int firstWeekday = WeekdayOfFirst(year, month);

    // Sundays up to day 31 whatever the month's length: later days are never shown.
    int firstSunday = (7 - firstWeekday) % 7;
    for (int day = firstSunday + 1; day <= 31; day += 7) {
        codes[day - 1] = kDaySunday;
    }

    MonthMarker marker(codes, year);
    for (int row = 0; row < holidays.Rows(); ++row) {
        const char16_t* dayCell = holidays.GetCell(row, 3);
        if (dayCell == nullptr || CellNumber(holidays, row, 2) != month ||
            CellNumber(holidays, row, 0) > year || year > CellNumber(holidays, row, 1)) {
            continue;
        }
        int day = RuleDay(dayCell, firstWeekday);
        if (day >= 1 && day <= 31) {
            marker.Mark(day, row);
        }
    }

    if (int day = EquinoxDay(year, month); day != 0) {
        marker.Mark(day, month == 3 ? kDayVernalEquinox : kDayAutumnalEquinox);
    }

    // A free weekday enclosed by two named days becomes a national holiday.
    auto code = [&codes](int day) -> int& { return codes[day - 1]; };
    for (int d = 1; d <= 27; ++d) {
        if (!IsNamed(code(d + 2))) {
            continue;
        }
        if (IsNamed(code(d))) {
            if (code(d + 1) == kDayFree) {
                code(d + 1) = kDayNational;
            }
        } else if (IsNamed(code(d + 4)) && code(d + 3) == kDayFree) {
            code(d + 3) = kDayNational;
        }
    }
    return codes;
}

const char16_t* DayLabel(const CTabDataBase& holidays, int code) {
    switch (code) {
    case kDayVernalEquinox:
        return u"春分";
    case kDayAutumnalEquinox:
        return u"秋分";
    case kDaySubstitute:
        return u"补休假日";
    case kDayNational:
        return u"节假日";
    default:
        break;
    }
    if (code >= 0 && code < kDayVernalEquinox && holidays.Columns() > 4 && code < holidays.Rows()) {
        return holidays.GetCell(code, 4);
    }
    return nullptr;
}
