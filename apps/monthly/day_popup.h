// The day popup: the backdrop "win_schedule.mg" with the day's holiday name
// (right-aligned, light red) and memo text (white) drawn in glyph text.
#pragma once

#include "monthly/calender.h"

// A new popup surface for the day and its memo row (or -1); nullptr when
// the backdrop cannot be loaded.
CSurface* BuildDayPopup(const CCalender& calendar, int day, int memoRow);
