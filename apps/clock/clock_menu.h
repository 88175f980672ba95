// The clock's popup menu, built anew each time it is shown.
#pragma once

#include "platform/platform.h"

#include <vector>

enum ClockCommand {
    kCommandAbout = 104,
    kCommandExit = 105,
    kCommandSettings = 32771,
    kCommandTopMost = 32774,
    kCommandFixedPos = 32775,
    kCommandAlarmEnable = 32789,
    kCommand24Hour = 32791,
    kCommandTrayIcon = 32793,
    kCommandAutostart = 32795,
};

struct ClockMenuState {
    bool alarmEnabled = false;
    bool offer24Hour = false; // only a face whose time mode can change
    bool digital24 = false;
    bool topMost = false;
    bool fixedPos = false;
    bool trayIcon = false;
    bool autostartExists = false;
};

std::vector<MenuItem> BuildClockMenu(const ClockMenuState& state);
