// The month's grid of day numerals and the year digits, drawn from the
// parts sheet, and the hit test that finds a day under a window point.
#pragma once

#include "monthly/calender.h"

// Every pixel takes the colour (0xRRGGBB) and keeps its alpha.
void TintKeepingAlpha(CSurface& surface, std::uint32_t rgb);
// Draws the shown month into the calendar's grid surface: numerals tinted
// by weekday (today in its own tint), holiday backings and memo marks.
void DrawGrid(CCalender& calendar);
// The last four digits of the shown year, in the month's colour.
void DrawYear(const CCalender& calendar, CSurface* target);
// The day of the shown month at a window point, or -1.
int DayAt(const CCalender& calendar, int x, int y);
