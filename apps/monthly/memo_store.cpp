#include "memo_store.h"

#include "base/format16.h"
#include "base/text_to_int.h"
#include "data/file_io.h"

#include <cstdio>

namespace {

enum MemoColumn { kDay, kSort1, kSort2, kReserved, kIcon, kText, kColumns };

int NumberAt(const CTabDataBase& memos, int row, int column) {
    const char16_t* cell = memos.GetCell(row, column);
    return cell == nullptr ? 0 : TextToInt(std::u16string_view(cell));
}

void SetNumber(CTabDataBase& memos, int row, int column, int value) {
    memos.SetCell(row, column, Format16(u"%d", {value}).c_str());
}

void WriteRow(CTabDataBase& memos, int row, const MemoRecord& record) {
    SetNumber(memos, row, kDay, record.day);
    SetNumber(memos, row, kSort1, record.reserved1);
    SetNumber(memos, row, kSort2, record.reserved2);
    SetNumber(memos, row, kReserved, record.reserved3);
    SetNumber(memos, row, kIcon, record.icon);
    memos.SetCell(row, kText, record.text.c_str());
}

} // namespace

std::u16string MemoFilePath(const CMGFile& file, int year, int month) {
    return std::u16string(file.SaveFolder()) + Format16(u"sch%04d%02d.dat", {year, month});
}

void LoadMonthMemos(CTabDataBase& memos, CMGFile& file, int year, int month) {
    std::u16string path = MemoFilePath(file, year, month);
    if (file.Exists(path.c_str(), nullptr) == 0) {
        memos.Clear();
        return;
    }
    bool absolute = file.absolutePathMode;
    file.absolutePathMode = true;
    memos.readFormat = CTabDataBase::kDetect;
    memos.saveFormat = CTabDataBase::kUtf16;
    if (memos.Load(path.c_str()) == 0) {
        memos.Clear();
    }
    file.absolutePathMode = absolute;
}

void SaveMonthMemos(CTabDataBase& memos, const CMGFile& file, int year, int month) {
    std::u16string path = MemoFilePath(file, year, month);
    if (!memos.IsCreated()) {
        std::remove(NativePath(path).c_str());
        return;
    }
    memos.readFormat = CTabDataBase::kDetect;
    memos.saveFormat = CTabDataBase::kUtf16;
    memos.Save(path.c_str());
}

int FindMemo(const CTabDataBase& memos, int day) {
    if (!memos.IsCreated()) {
        return -1;
    }
    return memos.FindRow(Format16(u"%d", {day}).c_str());
}

int ReadMemo(const CTabDataBase& memos, int row, MemoRecord* record) {
    if (!memos.IsCreated() || row < 0 || row >= memos.Rows()) {
        return 0;
    }
    record->row = row;
    record->day = NumberAt(memos, row, kDay);
    record->reserved1 = NumberAt(memos, row, kSort1);
    record->reserved2 = NumberAt(memos, row, kSort2);
    record->reserved3 = NumberAt(memos, row, kReserved);
    record->icon = NumberAt(memos, row, kIcon);
    const char16_t* text = memos.GetCell(row, kText);
    record->text = text == nullptr ? u"" : text;
    return 1;
}

void PutMemo(CTabDataBase& memos, const MemoRecord& record) {
    if (!memos.IsCreated()) {
        memos.Create(1, kColumns);
        WriteRow(memos, 0, record);
        return;
    }
    int key = (record.day * 100 + record.reserved1) * 100 + record.reserved2;
    int insertAt = memos.Rows();
    for (int row = 0; row < memos.Rows(); ++row) {
        int day = NumberAt(memos, row, kDay);
        if (day < record.day) {
            continue;
        }
        int rowKey =
            (day * 100 + NumberAt(memos, row, kSort1)) * 100 + NumberAt(memos, row, kSort2);
        if (rowKey == key) {
            SetNumber(memos, row, kReserved, record.reserved3);
            SetNumber(memos, row, kIcon, record.icon);
            memos.SetCell(row, kText, record.text.c_str());
            return;
        }
        if (rowKey > key) {
            insertAt = row;
            break;
        }
    }
    int row = memos.InsertRow(insertAt);
    WriteRow(memos, row, record);
}
