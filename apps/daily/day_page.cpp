#include "day_page.h"

#include "base/format16.h"

namespace {

constexpr int kDigitWidth = 8;
constexpr int kDigitHeight = 10;
constexpr int kDigitPitch = 6; // neighbouring digits overlap by 2 pixels
constexpr int kSeparatorX = 83;
constexpr int kSeparatorWidth = 4;
constexpr int kLabelWidth = 80;
constexpr int kLabelHeight = 14;
constexpr int kLabelX = 120;
constexpr int kLabelY = 174;

// The number's last `digits` digits, the rightmost at rightX.
void DrawNumber(CSurface* page, CSurface* sheet, int value, int digits, int rightX) {
    for (int i = 0; i < digits; ++i) {
        int digit = value % 10;
        value /= 10;
        CSurface::BlendAlpha(page, sheet, rightX - kDigitPitch * i, 0, kDigitWidth, kDigitHeight,
                             kDigitWidth * digit, 0);
    }
}

} // namespace

std::u16string DayPictureName(int month, int day) {
    return Format16(u"%02d%02d.mg", {month, day});
}

void DrawDateLine(CSurface* page, CSurface* weekdaySheet, DailyDate date, int weekday) {
    CSurface::BlendAlpha(page, weekdaySheet, kLabelX, kLabelY, kLabelWidth, kLabelHeight, 0,
                         12 + 16 * weekday);
    CSurface::BlendAlpha(page, weekdaySheet, 157, 0, kSeparatorWidth, kDigitHeight, kSeparatorX, 0);
    CSurface::BlendAlpha(page, weekdaySheet, 172, 0, kSeparatorWidth, kDigitHeight, kSeparatorX, 0);
    DrawNumber(page, weekdaySheet, date.year, 4, 151);
    DrawNumber(page, weekdaySheet, date.month, 2, 166);
    DrawNumber(page, weekdaySheet, date.day, 2, 181);
}
