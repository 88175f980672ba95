#!/usr/bin/env python3
"""Japan's public holidays for a year, worked out from the holiday law itself.

This is deliberately independent of holidays.txt and of the calendar model:
it knows the law's history as dated events, computes the equinoxes with the
usual astronomical approximation, and applies the substitute-holiday and
in-between-holiday rules with the dates on which each came into force.

    official_holidays.py YEAR [LAST_YEAR]
        prints "YYYY-MM-DD<TAB>kind<TAB>name" for every holiday

    official_holidays.py --compare LUMITOOL HOLIDAYS FIRST LAST
        runs "LUMITOOL daycodes HOLIDAYS YEAR MONTH" for every month and
        reports each day on which the calendar model and the law disagree;
        exit 0 when they agree everywhere, 1 otherwise, 77 when the tool has
        no daycodes command yet
"""

import datetime as dt
import json
import subprocess
import sys

LAW_START = dt.date(1948, 7, 20)       # the holiday law takes effect
SUBSTITUTE_START = dt.date(1973, 4, 12)  # a Sunday holiday moves to Monday
BETWEEN_START = dt.date(1985, 12, 27)  # a day between two holidays is off
CASCADE_START = dt.date(2007, 1, 1)    # substitutes skip further holidays


def nth_monday(year, month, n):
    first = dt.date(year, month, 1)
    offset = (7 - first.weekday()) % 7  # weekday(): Monday = 0
    return first + dt.timedelta(days=offset + 7 * (n - 1))


def vernal_equinox_day(year):
    if year <= 1979:
        return int(20.8357 + 0.242194 * (year - 1980) - int((year - 1983) / 4))
    return int(20.8431 + 0.242194 * (year - 1980) - int((year - 1980) / 4))


def autumnal_equinox_day(year):
    if year <= 1979:
        return int(23.2588 + 0.242194 * (year - 1980) - int((year - 1983) / 4))
    return int(23.2488 + 0.242194 * (year - 1980) - int((year - 1980) / 4))


def national_holidays(year):
    """The named holidays (kokumin no shukujitsu) of a year: date -> name."""
    days = {}

    def add(date, name):
        if date >= LAW_START:
            days[date] = name

    def fixed(month, day, name):
        add(dt.date(year, month, day), name)

    y = year
    fixed(1, 1, "元日")
    if y <= 1999:
        fixed(1, 15, "成人节")
    else:
        add(nth_monday(y, 1, 2), "成人节")
    if y >= 1967:
        fixed(2, 11, "建国纪念日")
    fixed(3, vernal_equinox_day(y), "春分")
    # The emperor's birthday follows the reigning emperor.
    if y <= 1988:
        fixed(4, 29, "天皇诞生日")
    elif y <= 2018:
        fixed(12, 23, "天皇诞生日")
    elif y >= 2020:
        fixed(2, 23, "天皇诞生日")
    # 29 April: greenery day from 1989, Showa day from 2007, when greenery
    # day moves to 4 May.
    if 1989 <= y <= 2006:
        fixed(4, 29, "绿之日")
    elif y >= 2007:
        fixed(4, 29, "昭和之日")
        fixed(5, 4, "绿之日")
    fixed(5, 3, "宪法纪念日")
    fixed(5, 5, "儿童节")
    # Marine day, mountain day and sports day; 2020 and 2021 moved them
    # around the Tokyo games.
    olympic = {
        2020: {"海之日": (7, 23), "体育之日": (7, 24), "山之日": (8, 10)},
        2021: {"海之日": (7, 22), "体育之日": (7, 23), "山之日": (8, 8)},
    }
    if y in olympic:
        for name, (month, day) in olympic[y].items():
            fixed(month, day, name)
    else:
        if 1996 <= y <= 2002:
            fixed(7, 20, "海之日")
        elif y >= 2003:
            add(nth_monday(y, 7, 3), "海之日")
        if y >= 2016:
            fixed(8, 11, "山之日")
        if 1966 <= y <= 1999:
            fixed(10, 10, "体育节")
        elif 2000 <= y <= 2019:
            add(nth_monday(y, 10, 2), "体育节")
        elif y >= 2022:
            add(nth_monday(y, 10, 2), "体育之日")
    if 1966 <= y <= 2002:
        fixed(9, 15, "敬老日")
    elif y >= 2003:
        add(nth_monday(y, 9, 3), "敬老日")
    fixed(9, autumnal_equinox_day(y), "秋分")
    fixed(11, 3, "文化节")
    fixed(11, 23, "勤劳感谢日")
    # Days made holidays by their own laws.
    one_off = {
        dt.date(1959, 4, 10): "皇太子结婚典礼",
        dt.date(1989, 2, 24): "昭和天皇大丧之礼",
        dt.date(1990, 11, 12): "即位礼正殿之仪",
        dt.date(1993, 6, 9): "皇太子结婚典礼",
        dt.date(2019, 5, 1): "天皇即位日",
        dt.date(2019, 10, 22): "即位礼正殿之仪",
    }
    for date, name in one_off.items():
        if date.year == y:
            add(date, name)
    return days


def holidays(year):
    """Every day off by law in a year: date -> (kind, name), where kind is
    "named", "substitute" or "between"."""
    named = national_holidays(year)
    # Neighbouring years matter for substitutes and in-between days that
    # cross the new year.
    around = dict(named)
    around.update(national_holidays(year - 1))
    around.update(national_holidays(year + 1))
    result = {d: ("named", n) for d, n in named.items()}
    one_day = dt.timedelta(days=1)

    for date in sorted(around):
        if date.weekday() != 6 or date < SUBSTITUTE_START:
            continue
        day = date + one_day
        if date >= CASCADE_START:
            while day in around:
                day += one_day
        elif day in around:
            continue
        if day.year == year:
            result[day] = ("substitute", "补休假日")

    start = dt.date(year, 1, 1)
    for i in range(366 if year % 4 == 0 else 365):
        day = start + dt.timedelta(days=i)
        if day.year != year or day < BETWEEN_START or day in result:
            continue
        if (day - one_day) in around and (day + one_day) in around:
            # Until 2007 the rule spared Sundays; a Sunday is off anyway.
            if day.weekday() != 6:
                result[day] = ("between", "节假日")
    return result


def print_years(first, last):
    for year in range(first, last + 1):
        for date, (kind, name) in sorted(holidays(year).items()):
            print(f"{date.isoformat()}\t{kind}\t{name}")


def compare(lumitool, holiday_file, first, last):
    """Holiday or not, day by day: the calendar model against the law."""
    probe = subprocess.run([lumitool, "daycodes", holiday_file, str(first), "1"],
                           capture_output=True, text=True)
    if probe.returncode != 0 and "usage: lumitool COMMAND" in probe.stderr:
        print("lumitool has no daycodes command", file=sys.stderr)
        return 77
    mismatches = 0
    checked = 0
    for year in range(first, last + 1):
        law = holidays(year)
        for month in range(1, 13):
            run = subprocess.run([lumitool, "daycodes", holiday_file, str(year), str(month)],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                print(f"{year}-{month:02d}: lumitool failed: {run.stderr.strip()}")
                return 1
            model = json.loads(run.stdout)
            for day in range(1, model["days"] + 1):
                code = model["codes"][day - 1]
                off_in_model = 0 <= code <= 999 or code in (1001, 1004)
                date = dt.date(year, month, day)
                checked += 1
                if off_in_model != (date in law):
                    mismatches += 1
                    said = law.get(date, ("working day", ""))
                    print(f"{date}: model code {code}, law: {said[0]} {said[1]}")
    print(f"{checked} days checked from {first} to {last}, {mismatches} disagree")
    return 1 if mismatches else 0


def main(argv):
    if len(argv) == 5 and argv[0] == "--compare":
        return compare(argv[1], argv[2], int(argv[3]), int(argv[4]))
    if len(argv) in (1, 2) and all(a.isdigit() for a in argv):
        first = int(argv[0])
        print_years(first, int(argv[-1]))
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
