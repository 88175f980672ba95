#include "day_grid.h"

#include "monthly_layout.h"

#include <algorithm>

namespace {

// A scratch surface of opaque black the numerals and digits are tinted in.
std::unique_ptr<CSurface> OpaqueScratch(int width, int height) {
    std::unique_ptr<CSurface> scratch(CSurface::CreateBlank(width, height));
    if (scratch != nullptr) {
        scratch->SetOpaque();
    }
    return scratch;
}

// Blends src onto dst and raises dst's alpha to src's where that is
// larger, so marks and numerals overlapping on the transparent grid keep
// both their coverages for the final blend onto the picture.
void MergeAndBlend(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx, int sy) {
    CSurface::MergeAlpha(dst, src, x, y, w, h, sx, sy);
    CSurface::BlendAlpha(dst, src, x, y, w, h, sx, sy);
}

} // namespace

void TintKeepingAlpha(CSurface& surface, std::uint32_t rgb) {
    std::size_t count = std::size_t(surface.width) * surface.height;
    for (std::size_t k = 0; k < count; ++k) {
        surface.bits[k] = (surface.bits[k] & 0xFF000000u) | (rgb & 0x00FFFFFFu);
    }
}

void DrawGrid(CCalender& calendar) {
    CSurface* grid = calendar.gridSurface.get();
    CSurface* parts = calendar.partsImage.get();
    if (grid == nullptr || grid->bits == nullptr) {
        return;
    }
    std::fill(grid->bits, grid->bits + std::size_t(grid->width) * grid->height, 0u);
    std::unique_ptr<CSurface> numeral = OpaqueScratch(34, 34);
    if (numeral == nullptr) {
        return;
    }
    const int w = calendar.numeralWidth;
    const int h = calendar.numeralHeight;
    const RECT& mark = kMemoMark;
    const RECT& backing = kHolidayBacking;
    int days = calendar.DaysInMonth(calendar.year, calendar.month);
    for (int day = 1; day <= days; ++day) {
        int cell = calendar.firstWeekday + day - 1;
        int column = cell % 7;
        int x = calendar.columnPitch * column;
        int y = calendar.rowPitch * (cell / 7);
        bool memo = calendar.FindMemo(day) >= 0;

        CSurface::Copy(numeral.get(), parts, 0, 0, w, h, (day - 1) % 10 * w, (day - 1) / 10 * h);
        TintKeepingAlpha(*numeral, day == calendar.highlightDay ? calendar.highlightTint
                                                                : calendar.weekdayTint[column]);

        if (calendar.DayCode(day) >= 0) {
            CSurface::Copy(grid, parts, x, y, backing.Width(), backing.Height(), backing.left,
                           backing.top);
            if (memo) {
                MergeAndBlend(grid, parts, x, y, mark.Width(), mark.Height(), mark.left, mark.top);
                MergeAndBlend(grid, numeral.get(), x + 1, y, w - 1, h, 1, 0);
            } else {
                CSurface::BlendAlpha(grid, numeral.get(), x, y, w, h, 0, 0);
            }
        } else if (memo) {
            CSurface::Copy(grid, parts, x, y, mark.Width(), mark.Height(), mark.left, mark.top);
            MergeAndBlend(grid, numeral.get(), x + 1, y, w - 1, h, 1, 0);
        } else {
            CSurface::Copy(grid, numeral.get(), x + 1, y, w - 1, h, 1, 0);
        }
    }
}

void DrawYear(const CCalender& calendar, CSurface* target) {
    std::unique_ptr<CSurface> digitCell = OpaqueScratch(kDigitWidth, kDigitHeight);
    if (digitCell == nullptr || calendar.month < 1 || calendar.month > 12) {
        return;
    }
    int value = calendar.year;
    for (int x : kYearDigitX) {
        int digit = value / 1000 % 10;
        CSurface::Copy(digitCell.get(), calendar.partsImage.get(), 0, 0, kDigitWidth, kDigitHeight,
                       kDigitWidth * digit, kDigitRowY);
        TintKeepingAlpha(*digitCell, kYearColours[calendar.month - 1]);
        CSurface::BlendAlpha(target, digitCell.get(), x, kYearY, kDigitWidth, kDigitHeight, 0, 0);
        value = value * 10 % 10000;
    }
}

int DayAt(const CCalender& calendar, int x, int y) {
    int bx = x - kGridX;
    int by = y - kGridHitY;
    if (bx < 0 || bx >= kGridWidth || by < 0 || by >= kGridHeight) {
        return -1;
    }
    int day = by / kRowPitch * 7 + bx / kColumnPitch - calendar.firstWeekday + 1;
    if (day < 1 || day > calendar.DaysInMonth(calendar.year, calendar.month)) {
        return -1;
    }
    return day;
}
