#include "schedule_dialog.h"

#include "shell/dialog_resources.h"

namespace {

constexpr std::size_t kMaxTextUnits = kMemoUnits - 1;

DialogControl Control(int id, ControlKind kind, std::u16string text, int x, int y, int width,
                      int height, UINT styles = 0) {
    DialogControl control;
    control.id = id;
    control.kind = kind;
    control.text = std::move(text);
    control.x = x;
    control.y = y;
    control.width = width;
    control.height = height;
    control.styles = styles;
    return control;
}

void CutToBuffer(std::u16string& text) {
    if (text.size() > kMaxTextUnits) {
        text.resize(kMaxTextUnits);
    }
}

} // namespace

DialogTemplate MakeScheduleDialog() {
    constexpr UINT kDateBox = kControlReadOnly | kControlRightAligned | kControlAutoHScroll;
    DialogTemplate dialog;
    dialog.id = kScheduleDialogId;
    dialog.caption = u"编辑备忘录";
    dialog.fontName = u"Arial";
    dialog.pointSize = 10;
    dialog.width = 131;
    dialog.height = 116;
    dialog.controls = {
        Control(kYearEditId, ControlKind::Edit, u"", 7, 8, 28, 14, kDateBox),
        Control(kNoControlId, ControlKind::Static, u"年", 39, 12, 9, 8),
        Control(kMonthEditId, ControlKind::Edit, u"", 55, 8, 20, 14, kDateBox),
        Control(kNoControlId, ControlKind::Static, u"月", 79, 12, 9, 8),
        Control(kDayEditId, ControlKind::Edit, u"", 95, 8, 20, 14, kDateBox),
        Control(kNoControlId, ControlKind::Static, u"日", 119, 12, 9, 8),
        Control(kMemoEditId, ControlKind::Edit, u"", 7, 28, 116, 64,
                kControlMultiLine | kControlWantReturn),
        Control(IDOK, ControlKind::DefaultButton, u"确定", 20, 96, 50, 14),
        Control(IDCANCEL, ControlKind::PushButton, u"取消", 74, 96, 50, 14),
        Control(kIconListId, ControlKind::DropDownList, u"", 0, 96, 16, 128, kControlHidden),
    };
    return dialog;
}

std::u16string StoredToEditText(std::u16string_view stored) {
    std::u16string edited;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == u'\\' && i + 1 < stored.size() && stored[i + 1] == u'n') {
            edited += u"\r\n";
            ++i;
        } else {
            edited += stored[i];
        }
    }
    CutToBuffer(edited);
    return edited;
}

std::u16string EditToStoredText(std::u16string_view edited) {
    std::u16string stored;
    for (std::size_t i = 0; i < edited.size(); ++i) {
        char16_t unit = edited[i];
        if (unit == u'\t') {
            stored += u' ';
        } else if (unit == u'\r' || unit == u'\n') {
            stored += u"\\n";
            char16_t partner = unit == u'\r' ? u'\n' : u'\r';
            if (i + 1 < edited.size() && edited[i + 1] == partner) {
                ++i;
            }
        } else {
            stored += unit;
        }
    }
    CutToBuffer(stored);
    return stored;
}

void CScheduleDlg::OnInitDialog(HWND dialog) {
    Platform& sys = Sys();
    SetControlNumber(dialog, kYearEditId, year);
    SetControlNumber(dialog, kMonthEditId, month);
    SetControlNumber(dialog, kDayEditId, day);
    for (int entry = 0; entry < kIconEntries; ++entry) {
        sys.AddListEntry(dialog, kIconListId, u"");
    }
    sys.SetListSelection(dialog, kIconListId, icon);
    if (text[0] != 0) {
        sys.SetWindowText(sys.GetDlgItem(dialog, kMemoEditId), text);
    }
    sys.SetFocus(sys.GetDlgItem(dialog, kMemoEditId));
}

void CScheduleDlg::OnOK(HWND dialog) {
    Platform& sys = Sys();
    year = GetControlNumber(dialog, kYearEditId);
    month = GetControlNumber(dialog, kMonthEditId);
    day = GetControlNumber(dialog, kDayEditId);
    icon = sys.GetListSelection(dialog, kIconListId);
    CopyBounded(text, sys.GetWindowText(sys.GetDlgItem(dialog, kMemoEditId)));
    CMGDialog::OnOK(dialog);
}

int EditMemo(CCalender& calendar, int day) {
    if (day <= 0) {
        return 0;
    }
    if (FindDialogResource(kScheduleDialogId) == nullptr) {
        AddDialogResource(MakeScheduleDialog());
    }
    CScheduleDlg editor;
    editor.year = calendar.year;
    editor.month = calendar.month;
    editor.day = day;
    MemoRecord existing;
    if (calendar.ReadMemo(calendar.FindMemo(day), &existing) != 0) {
        editor.icon = existing.icon;
        CopyBounded(editor.text, StoredToEditText(existing.text));
    }
    if (editor.RunModal() != IDOK) {
        return 0;
    }
    MemoRecord memo;
    memo.day = day;
    memo.icon = editor.icon;
    memo.text = EditToStoredText(editor.text);
    calendar.PutMemo(memo);
    calendar.SaveMonthMemos(calendar.year, calendar.month);
    return 1;
}
