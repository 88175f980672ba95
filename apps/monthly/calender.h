// The shown month of the monthly calendar: its day codes from the shared
// calendar rules, its memo table, and the state the window draws the day
// grid from (grid surface, numeral sheet, tints).
//
// The daily calendar keeps a smaller variant of this model: it reads the
// same holiday file and may build the same day codes, but it needs the
// weekday of any date (WeekdayOf with a day), has no labels, no memo table
// and no grid surface, so it uses calendar/calendar_rules.h directly
// instead of this class.
#pragma once

#include "calendar/calendar_rules.h"
#include "imaging/surface.h"
#include "monthly/memo_store.h"

#include <cstdint>
#include <memory>

inline constexpr std::uint32_t kWeekdayTint = 0x7F591F;
inline constexpr std::uint32_t kHighlightTint = 0xFF591F;

class CCalender {
public:
    CCalender();
    virtual ~CCalender();
    CCalender(const CCalender&) = delete;
    CCalender& operator=(const CCalender&) = delete;

    // Rebuilds the codes and the memo table for the month and marks the
    // grid for redrawing; highlightDay is today's day or -1.
    void SetMonth(int year, int month, int highlightDay);
    int WeekdayOfFirst(int year, int month) const { return ::WeekdayOfFirst(year, month); }
    int DaysInMonth(int year, int month) const { return ::DaysInMonth(year, month); }
    void BuildDayCodes(int year, int month) { dayCodes = ::BuildDayCodes(holidays, year, month); }
    // The label of a day code, or nullptr.
    const char16_t* DayLabel(int code) const { return ::DayLabel(holidays, code); }
    // The code of a day of the shown month (1-31).
    int DayCode(int day) const { return dayCodes[day - 1]; }

    // The holiday rules, read once: ANSI text, one rule a line.
    int LoadHolidays(const char16_t* name);

    // The memo table of the shown month, over the memo store.
    void LoadMonthMemos(int year, int month);
    void SaveMonthMemos(int year, int month);
    int FindMemo(int day) const { return ::FindMemo(memos, day); }
    int ReadMemo(int row, MemoRecord* record) const { return ::ReadMemo(memos, row, record); }
    void PutMemo(const MemoRecord& record);
    // Removes the day's memo row; 1 when there was one.
    int RemoveMemo(int day);

    std::unique_ptr<CSurface> gridSurface;
    std::unique_ptr<CSurface> partsImage;
    CTabDataBase holidays;
    CTabDataBase memos;
    int numeralWidth = 0;
    int numeralHeight = 0;
    int columnPitch = 0;
    int rowPitch = 0;
    int gridVisible = 0;
    int firstWeekday = 0;
    int year = 0;
    int month = 0;
    int highlightDay = -1;
    int gridDirty = 0;
    DayCodes dayCodes;
    std::uint32_t weekdayTint[7];
    std::uint32_t highlightTint = kHighlightTint;
};
