#include "calender.h"

CCalender::CCalender() {
    dayCodes.fill(kDayFree);
    for (std::uint32_t& tint : weekdayTint) {
        tint = kWeekdayTint;
    }
}

CCalender::~CCalender() {
    if (gridSurface != nullptr) {
        gridSurface->Release();
    }
    if (partsImage != nullptr) {
        partsImage->Release();
    }
    holidays.Clear();
    memos.Clear();
}

void CCalender::SetMonth(int newYear, int newMonth, int newHighlightDay) {
    firstWeekday = WeekdayOfFirst(newYear, newMonth);
    year = newYear;
    month = newMonth;
    highlightDay = newHighlightDay;
    BuildDayCodes(newYear, newMonth);
    LoadMonthMemos(newYear, newMonth);
    gridDirty = 1;
}

int CCalender::LoadHolidays(const char16_t* name) {
    holidays.readFormat = CTabDataBase::kAnsi;
    holidays.saveFormat = CTabDataBase::kAnsi;
    return holidays.Load(name);
}

void CCalender::LoadMonthMemos(int memoYear, int memoMonth) {
    ::LoadMonthMemos(memos, *CMGFile::Service(), memoYear, memoMonth);
}

void CCalender::SaveMonthMemos(int memoYear, int memoMonth) {
    ::SaveMonthMemos(memos, *CMGFile::Service(), memoYear, memoMonth);
}

void CCalender::PutMemo(const MemoRecord& record) {
    gridDirty = 1;
    ::PutMemo(memos, record);
}

int CCalender::RemoveMemo(int day) {
    int row = FindMemo(day);
    if (row < 0 || row >= memos.Rows()) {
        return 0;
    }
    gridDirty = 1;
    memos.DeleteRow(row);
    return 1;
}
