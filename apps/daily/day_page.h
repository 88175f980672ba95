// The daily page: the day's picture with the date line and the weekday
// label blended onto it from the weekday sheet.
#pragma once

#include "daily_date.h"
#include "imaging/surface.h"

#include <string>

// "%02d%02d.mg" of month and day.
std::u16string DayPictureName(int month, int day);
// Writes the date line (year, separator, month, separator, day, numbers
// right to left so month and day keep their leading zero) and the weekday
// label onto the page.
void DrawDateLine(CSurface* page, CSurface* weekdaySheet, DailyDate date, int weekday);
