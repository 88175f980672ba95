#include "config_dialog.h"

#include "alarm_entry.h"
#include "shell/app_base.h"

#include <utility>

namespace {

constexpr int kAlarmOn = kAlarmOff + 1;
constexpr int kSaturdayBox = kSundayBox + 6;
constexpr int kChimeLastRadio = kChimeOffRadio + 6;
constexpr std::size_t kSoundFileBuffer = 260;

const char16_t* const kRepeatEntries[] = {u"否", u"毎日", u"设置星期"};
const char16_t* const kDayLabels[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
const char16_t* const kVoiceLabels[] = {u"Pell", u"Dara", u"Sorn", u"Hanet", u"Brisa"};

DialogControl Control(int id, ControlKind kind, std::u16string text, int x, int y, int w, int h,
                      UINT styles = 0) {
    DialogControl control;
    control.id = id;
    control.kind = kind;
    control.text = std::move(text);
    control.x = x;
    control.y = y;
    control.width = w;
    control.height = h;
    control.styles = styles;
    return control;
}

DialogControl Label(std::u16string text, int x, int y, int w, UINT styles = 0) {
    return Control(kNoControlId, ControlKind::Static, std::move(text), x, y, w, 8, styles);
}

DialogControl Radio(int id, std::u16string text, int x, int y, int w, bool first, UINT styles = 0) {
    return Control(id, ControlKind::RadioButton, std::move(text), x, y, w, 10,
                   styles | (first ? kControlGroupStart : 0));
}

DialogControl Spin(int id, int buddy, int x, int y, int maximum, UINT styles = 0) {
    DialogControl spin = Control(id, ControlKind::Spin, u"", x, y, 10, 12, styles);
    spin.buddyId = buddy;
    spin.spinMin = 0;
    spin.spinMax = maximum;
    return spin;
}

void Enable(HWND dialog, int first, int last, bool enable) {
    for (int id = first; id <= last; ++id) {
        Sys().EnableWindow(Sys().GetDlgItem(dialog, id), enable);
    }
}

// The checked radio's position in first..last; 0 when none is checked.
int CheckedIndex(HWND dialog, int first, int last) {
    for (int id = first; id <= last; ++id) {
        if (Sys().IsDlgButtonChecked(dialog, id) == BST_CHECKED) {
            return id - first;
        }
    }
    return 0;
}

void CheckRadio(HWND dialog, int first, int last, int checkedId) {
    for (int id = first; id <= last; ++id) {
        Sys().CheckDlgButton(dialog, id, id == checkedId ? BST_CHECKED : BST_UNCHECKED);
    }
}

} // namespace

DialogTemplate MakeConfigDialog() {
    DialogTemplate dialog;
    dialog.id = kConfigDialogId;
    dialog.caption = u"闹铃及整点报时设定";
    dialog.fontName = u"MS Shell Dlg";
    dialog.pointSize = 8;
    dialog.width = 280;
    dialog.height = 225;
    auto& c = dialog.controls;
    c.push_back(Control(kNoControlId, ControlKind::GroupBox, u"闹铃时间", 7, 5, 266, 46));
    c.push_back(Radio(kAlarmOff, u"OFF", 16, 17, 34, true));
    c.push_back(Radio(kAlarmOn, u"ON", 54, 17, 34, false));
    c.push_back(Label(u"时间", 16, 34, 20));
    c.push_back(Control(kHourEdit, ControlKind::Edit, u"", 38, 32, 26, 12, kControlRightAligned));
    c.push_back(Spin(kHourSpin, kHourEdit, 64, 32, 23));
    c.push_back(Label(u"时", 77, 34, 10));
    c.push_back(Control(kMinuteEdit, ControlKind::Edit, u"", 92, 32, 26, 12, kControlRightAligned));
    c.push_back(Spin(kMinuteSpin, kMinuteEdit, 118, 32, 59));
    c.push_back(Label(u"分", 131, 34, 10));

    c.push_back(Control(kNoControlId, ControlKind::GroupBox, u"响铃方式设定", 7, 55, 266, 46));
    c.push_back(Control(kRepeatList, ControlKind::DropDownList, u"", 16, 67, 70, 60));
    c.push_back(Radio(kIncludeSunday, u"包括星期日", 100, 68, 62, true));
    c.push_back(Radio(kExcludeSunday, u"排除星期日", 168, 68, 62, false));
    for (int day = 0; day < 7; ++day) {
        c.push_back(Control(kSundayBox + day, ControlKind::CheckBox, kDayLabels[day], 16 + 34 * day,
                            85, 28, 10));
    }

    c.push_back(Control(kNoControlId, ControlKind::GroupBox, u"铃音设定", 7, 105, 266, 62));
    c.push_back(Radio(kSoundRandomRadio, u"随机", 16, 117, 36, true));
    for (int voice = 0; voice < 5; ++voice) {
        c.push_back(Radio(kSoundRandomRadio + 1 + voice, kVoiceLabels[voice], 56 + 40 * voice, 117,
                          38, false));
    }
    c.push_back(Radio(kSoundFileRadio, u"指定文件", 16, 132, 60, false));
    c.push_back(
        Control(kSoundFileEdit, ControlKind::Edit, u"", 16, 147, 190, 12, kControlAutoHScroll));
    c.push_back(Control(kBrowseButton, ControlKind::PushButton, u"浏览...", 212, 146, 52, 14));

    // The snooze settings are kept and written back but never shown.
    c.push_back(Label(u"スヌーズ設定", 90, 132, 50, kControlHidden));
    c.push_back(Radio(kSnoozeOn, u"ON", 144, 132, 30, true, kControlHidden));
    c.push_back(Radio(kSnoozeOff, u"OFF", 176, 132, 30, false, kControlHidden));
    c.push_back(Label(u"スヌーズ間隔", 90, 132, 50, kControlHidden));
    c.push_back(Control(kSnoozeEdit, ControlKind::Edit, u"", 144, 130, 26, 12,
                        kControlRightAligned | kControlHidden));
    c.push_back(Spin(kSnoozeSpin, kSnoozeEdit, 170, 130, 10, kControlHidden));
    c.push_back(Label(u"分", 183, 132, 10, kControlHidden));

    c.push_back(Control(kNoControlId, ControlKind::GroupBox, u"报时", 7, 171, 266, 28));
    c.push_back(Radio(kChimeOffRadio, u"关闭", 16, 183, 32, true));
    c.push_back(Radio(kChimeOffRadio + 1, u"随机", 50, 183, 32, false));
    for (int voice = 0; voice < 5; ++voice) {
        c.push_back(Radio(kChimeOffRadio + 2 + voice, kVoiceLabels[voice], 84 + 37 * voice, 183, 35,
                          false));
    }

    c.push_back(Control(IDOK, ControlKind::DefaultButton, u"确定", 166, 205, 50, 14));
    c.push_back(Control(IDCANCEL, ControlKind::PushButton, u"取消", 222, 205, 50, 14));
    return dialog;
}

void CConfigDlg::OnInitDialog(HWND dialog) {
    Platform& sys = Sys();
    for (const char16_t* entry : kRepeatEntries) {
        sys.AddListEntry(dialog, kRepeatList, entry);
    }
    sys.SetListSelection(dialog, kRepeatList, repeat);
    ApplyRepeatRule(dialog);

    sys.CheckDlgButton(dialog, enable != 0 ? kAlarmOn : kAlarmOff, BST_CHECKED);
    sys.CheckDlgButton(dialog, excludeSunday != 0 ? kExcludeSunday : kIncludeSunday, BST_CHECKED);
    sys.CheckDlgButton(dialog, snooze != 0 ? kSnoozeOn : kSnoozeOff, BST_CHECKED);
    sys.CheckDlgButton(dialog, kSoundRandomRadio + sound, BST_CHECKED);
    sys.CheckDlgButton(dialog, kChimeOffRadio + chime, BST_CHECKED);
    for (int day = 0; day < 7; ++day) {
        if (weekDays[day] != 0) {
            sys.CheckDlgButton(dialog, kSundayBox + day, BST_CHECKED);
        }
    }
    SetControlNumber(dialog, kHourEdit, hour);
    SetControlNumber(dialog, kMinuteEdit, minute);
    SetControlNumber(dialog, kSnoozeEdit, snoozeInterval);
    if (!soundFile.empty()) {
        sys.SetWindowText(sys.GetDlgItem(dialog, kSoundFileEdit), soundFile);
    }
    if (enable == 0) {
        ApplyAlarmGroup(dialog, false);
    }
}

int CConfigDlg::OnDialogCommand(HWND dialog, WPARAM wParam, LPARAM /*lParam*/) {
    const int id = LoWord(wParam);
    const WORD code = HiWord(wParam);
    if (code == BN_CLICKED && (id == kAlarmOff || id == kAlarmOn)) {
        ApplyAlarmGroup(dialog, id == kAlarmOn);
        return 1;
    }
    if (code == CBN_SELCHANGE && id == kRepeatList) {
        repeat = Sys().GetListSelection(dialog, kRepeatList);
        ApplyRepeatRule(dialog);
        return 1;
    }
    if (code == EN_UPDATE && (id == kHourEdit || id == kMinuteEdit || id == kSnoozeEdit)) {
        LimitTypedValue(dialog, id);
        return 1;
    }
    if (code == BN_CLICKED && id == kBrowseButton) {
        Browse(dialog);
        return 1;
    }
    return 0;
}

void CConfigDlg::OnOK(HWND dialog) {
    Platform& sys = Sys();
    enable = CheckedIndex(dialog, kAlarmOff, kAlarmOn);
    excludeSunday = CheckedIndex(dialog, kIncludeSunday, kExcludeSunday);
    snooze = sys.IsDlgButtonChecked(dialog, kSnoozeOn) == BST_CHECKED ? 1 : 0;
    sound = CheckedIndex(dialog, kSoundRandomRadio, kSoundFileRadio);
    chime = CheckedIndex(dialog, kChimeOffRadio, kChimeLastRadio);
    for (int day = 0; day < 7; ++day) {
        weekDays[day] = sys.IsDlgButtonChecked(dialog, kSundayBox + day) == BST_CHECKED ? 1 : 0;
    }
    hour = GetControlNumber(dialog, kHourEdit);
    minute = GetControlNumber(dialog, kMinuteEdit);
    snoozeInterval = GetControlNumber(dialog, kSnoozeEdit);
    soundFile = sys.GetWindowText(sys.GetDlgItem(dialog, kSoundFileEdit));
    if (soundFile.size() >= kSoundFileBuffer) {
        soundFile.resize(kSoundFileBuffer - 1);
    }

    if (enable != 0) {
        if (sound == kSoundFile && soundFile.empty()) {
            sys.MessageBox(dialog, u"请指定音频文件。", u"错误", MB_OK | MB_ICONERROR);
            return;
        }
        bool anyDay = false;
        for (int day : weekDays) {
            anyDay = anyDay || day != 0;
        }
        if (repeat == kRepeatWeekdays && !anyDay) {
            sys.MessageBox(dialog, u"请至少设置一日以上的响铃日。", u"错误", MB_OK | MB_ICONERROR);
            return;
        }
    }
    sys.EndDialog(dialog, IDOK);
}

void CConfigDlg::ApplyAlarmGroup(HWND dialog, bool on) {
    Platform& sys = Sys();
    for (int id :
         {kHourEdit, kMinuteEdit, kSnoozeEdit, kSoundFileEdit, kRepeatList, kBrowseButton}) {
        sys.EnableWindow(sys.GetDlgItem(dialog, id), on);
    }
    Enable(dialog, kSnoozeOn, kSnoozeOff, on);
    Enable(dialog, kSoundRandomRadio, kSoundFileRadio, on);
    if (on) {
        ApplyRepeatRule(dialog);
    } else {
        Enable(dialog, kSundayBox, kSaturdayBox, false);
        Enable(dialog, kIncludeSunday, kExcludeSunday, false);
    }
}

void CConfigDlg::ApplyRepeatRule(HWND dialog) {
    Enable(dialog, kSundayBox, kSaturdayBox, repeat == kRepeatWeekdays);
    Enable(dialog, kIncludeSunday, kExcludeSunday, repeat == kRepeatDaily);
}

void CConfigDlg::LimitTypedValue(HWND dialog, int controlId) {
    struct Limit {
        int id;
        int maximum;
        const char16_t* replacement;
    };
    static constexpr Limit kLimits[] = {
        {kHourEdit, 23, u"0"}, {kMinuteEdit, 59, u"0"}, {kSnoozeEdit, 10, u"10"}};
    for (const Limit& limit : kLimits) {
        if (limit.id == controlId && GetControlNumber(dialog, controlId) > limit.maximum) {
            Sys().SetWindowText(Sys().GetDlgItem(dialog, controlId), limit.replacement);
        }
    }
}

void CConfigDlg::Browse(HWND dialog) {
    OpenFileRequest request;
    request.title = u"浏览音频文件";
    request.filters = {{u"音频文件(*.wav)", u"*.wav"}, {u"所有文件(*.*)", u"*.*"}};
    request.defaultExtension = u"wav";
    request.mustExist = true;
    request.hideReadOnly = true;
    CAppBase* app = CAppBase::Instance();
    std::u16string path;
    if (!Sys().GetOpenFileName(app != nullptr ? app->hWnd : dialog, request, &path)) {
        return;
    }
    // A path that does not fit the buffer is refused, as the system dialog
    // refuses it, rather than kept cut short.
    if (path.size() >= kSoundFileBuffer) {
        return;
    }
    Sys().SetWindowText(Sys().GetDlgItem(dialog, kSoundFileEdit), path);
    CheckRadio(dialog, kSoundRandomRadio, kSoundFileRadio, kSoundFileRadio);
}
