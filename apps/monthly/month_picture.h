// The month's picture as the window background.
#pragma once

#include "monthly/calender.h"

// Copies "%02d.mg" of the month over the background. The pictures print
// five rows of day cells; a month reaching into a sixth row gets the cells
// of its last days copied down from the fifth. The calendar must already
// show the month (its first weekday is used).
void LoadMonthPicture(CSurface* background, const CCalender& calendar, int month);
