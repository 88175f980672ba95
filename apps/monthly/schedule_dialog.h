// The memo editor: dialog 129 with the date read-only, the memo text in a
// multi-line box and a hidden list carrying the memo's icon number.
#pragma once

#include "base/text16.h"
#include "monthly/calender.h"
#include "shell/mg_dialog.h"

#include <string>
#include <string_view>

inline constexpr int kScheduleDialogId = 129;
inline constexpr int kYearEditId = 1001;
inline constexpr int kMonthEditId = 1002;
inline constexpr int kDayEditId = 1003;
inline constexpr int kIconListId = 1004;
inline constexpr int kMemoEditId = 1005;
inline constexpr int kIconEntries = 8;

DialogTemplate MakeScheduleDialog();

// Stored memo text marks line breaks with backslash-n; the edit box uses
// CR LF. Results are cut at the buffer length (kMemoUnits - 1 units).
std::u16string StoredToEditText(std::u16string_view stored);
// TAB becomes a space; CR, LF, CR LF and LF CR each become one backslash-n.
std::u16string EditToStoredText(std::u16string_view edited);

class CScheduleDlg : public CMGDialog {
public:
    CScheduleDlg() : CMGDialog(kScheduleDialogId) {}

    void OnInitDialog(HWND dialog) override;
    void OnOK(HWND dialog) override;

    int year = 0;
    int month = 0;
    int day = 0;
    int icon = 0;
    char16_t text[kMemoUnits] = {};
};

// Runs the editor for a day of the calendar's month and, on OK, stores and
// saves the memo. 1 when a memo was stored.
int EditMemo(CCalender& calendar, int day);
