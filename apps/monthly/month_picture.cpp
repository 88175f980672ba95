#include "month_picture.h"

#include "base/format16.h"
#include "monthly_layout.h"

namespace {

// How many of the month's last days fall into a sixth row. The printed
// length ignores leap days: February never reaches the sixth row.
int SixthRowDays(int firstWeekday, int month, int year) {
    int length = month == 2 ? 28 : DaysInMonth(year, month);
    if (firstWeekday == 5 && length == 31) {
        return 1;
    }
    if (firstWeekday == 6 && length >= 30) {
        return length - 29;
    }
    return 0;
}

} // namespace

void LoadMonthPicture(CSurface* background, const CCalender& calendar, int month) {
    std::unique_ptr<CSurface> picture(
        CSurface::CreateFromFile(Format16(u"%02d.mg", {month}).c_str()));
    if (picture != nullptr) {
        CSurface::Copy(background, picture.get(), 0, 0, picture->width, picture->height, 0, 0);
        int cells = SixthRowDays(calendar.firstWeekday, month, calendar.year);
        if (cells > 0) {
            CSurface::Copy(background, picture.get(), kGridX, kSixthRowY, cells * kNumeralWidth,
                           kCopiedCellHeight, kGridX, kFifthRowY);
        }
    }
}
