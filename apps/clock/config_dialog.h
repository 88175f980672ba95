// The alarm and chime settings dialog (template 129): the alarm's time,
// repeat, days and sound, and the hourly chime's voice.
#pragma once

#include "shell/mg_dialog.h"

#include <string>

inline constexpr int kConfigDialogId = 129;

// Control ids.
enum ConfigControl {
    kAlarmOff = 1000, // kAlarmOn = 1001
    kHourEdit = 1002,
    kMinuteEdit = 1003,
    kHourSpin = 1004,
    kMinuteSpin = 1005,
    kRepeatList = 1006,
    kSundayBox = 1007, // ... kSaturdayBox = 1013
    kIncludeSunday = 1015,
    kExcludeSunday = 1016,
    kSnoozeOn = 1017,
    kSnoozeOff = 1018,
    kSnoozeEdit = 1019,
    kSnoozeSpin = 1020,
    kSoundFileEdit = 1021,
    kBrowseButton = 1022,
    kSoundRandomRadio = 1024, // + AlarmSound, up to kSoundFileRadio
    kSoundFileRadio = 1030,
    kChimeOffRadio = 1031, // + ChimeMode, up to 1037
};

DialogTemplate MakeConfigDialog();

class CConfigDlg : public CMGDialog {
public:
    CConfigDlg() : CMGDialog(kConfigDialogId) {}

    void OnInitDialog(HWND dialog) override;
    int OnDialogCommand(HWND dialog, WPARAM wParam, LPARAM lParam) override;
    void OnOK(HWND dialog) override;

    int enable = 0;
    int hour = 0;
    int minute = 0;
    int repeat = 0; // the list's index
    int weekDays[7] = {};
    int excludeSunday = 0;
    int snooze = 0;
    int snoozeInterval = 3;
    int sound = 0;
    std::u16string soundFile;
    int chime = 1;

private:
    void ApplyAlarmGroup(HWND dialog, bool enable);
    void ApplyRepeatRule(HWND dialog);
    void LimitTypedValue(HWND dialog, int controlId);
    void Browse(HWND dialog);
};
