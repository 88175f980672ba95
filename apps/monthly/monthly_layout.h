// Where the monthly calendar draws and hit-tests, in window pixels, and the
// cells of its parts sheet.
#pragma once

#include "platform/win32_types.h"

#include <cstdint>

inline constexpr int kWindowWidth = 369;
inline constexpr int kWindowHeight = 222;

// The grid is drawn at (169, 60) but hit-tested from four pixels higher,
// so a click just above a numeral still finds its day.
inline constexpr int kGridX = 169;
inline constexpr int kGridY = 60;
inline constexpr int kGridHitY = 56;
inline constexpr int kGridWidth = 169;
inline constexpr int kGridHeight = 163;
inline constexpr int kColumnPitch = 24;
inline constexpr int kRowPitch = 27;
inline constexpr int kNumeralWidth = 25;
inline constexpr int kNumeralHeight = 20;

// Parts sheet cells.
inline constexpr int kDigitWidth = 16;
inline constexpr int kDigitHeight = 20;
inline constexpr int kDigitRowY = 80;
inline constexpr RECT kHolidayBacking{176, 80, 176 + 25, 80 + 20};
inline constexpr RECT kMemoMark{211, 72, 211 + 28, 72 + 24};

inline constexpr int kYearDigitX[4] = {14, 26, 38, 50};
inline constexpr int kYearY = 20;

// The printed cells the month pictures lack for a sixth row are copied
// down from the fifth.
inline constexpr int kFifthRowY = 168;
inline constexpr int kSixthRowY = 195;
inline constexpr int kCopiedCellHeight = 18;

inline constexpr int kPrevButtonId = 1000;
inline constexpr int kTodayButtonId = 1001;
inline constexpr int kNextButtonId = 1002;
inline constexpr POINT kButtonCentres[3] = {{16, 204}, {48, 212}, {80, 204}};

inline constexpr int kPopupX = 64;
inline constexpr int kPopupY = 0;
inline constexpr RECT kPopupLabelRect{20, 27, 280, 177};
inline constexpr RECT kPopupMemoRect{20, 52, 280, 202};
inline constexpr int kPopupLabelRight = 252; // from the label rectangle's left
inline constexpr std::uint32_t kLabelColour = 0xFFFF4040;
inline constexpr std::uint32_t kMemoTextColour = 0xFFFFFFFF;

// The colour of the year digits, by month.
inline constexpr std::uint32_t kYearColours[12] = {0xFF0000, 0xFD0073, 0xFF9365, 0xFFA2A2,
                                                   0x33CE90, 0x04B4D6, 0x00FFF0, 0xFF813C,
                                                   0xC000FF, 0xDB974A, 0x835C55, 0x0072BC};
