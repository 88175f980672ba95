// The day memos of the monthly calendar: one table file per month with
// memos, "sch%04d%02d.dat" in the save folder, six cells a line (day, two
// sort fields, a reserved field, icon, text), sorted by day, written as
// UTF-16 and read with format detection. A month without memos has no file.
#pragma once

#include "data/mg_file.h"
#include "data/tab_database.h"

#include <string>

struct MemoRecord {
    int row = -1;
    int day = 0;
    int reserved1 = 0;
    int reserved2 = 0;
    int icon = 0;
    int reserved3 = 0;
    std::u16string text; // a line break is backslash-n
};

std::u16string MemoFilePath(const CMGFile& file, int year, int month);
// The month's table, or a table that is not created when there is no file
// or it cannot be read.
void LoadMonthMemos(CTabDataBase& memos, CMGFile& file, int year, int month);
// Writes the month's table, or deletes the month's file once it has no memo.
void SaveMonthMemos(CTabDataBase& memos, const CMGFile& file, int year, int month);
// The first row whose day cell is exactly "%d" of the day, or -1.
int FindMemo(const CTabDataBase& memos, int day);
// 0 when the row is not in the table.
int ReadMemo(const CTabDataBase& memos, int row, MemoRecord* record);
// Inserts the memo in day order, or replaces the day's memo in place
// (keeping its day and sort fields).
void PutMemo(CTabDataBase& memos, const MemoRecord& record);
