// The calendar's popup menu and its command ids.
#pragma once

#include "platform/platform.h"

#include <vector>

enum MonthlyCommand : UINT {
    kCmdAbout = 104,
    kCmdExit = 105,
    kCmdEditMemo = 32772,
    kCmdDeleteMemo = 32786,
    kCmdTopMost = 32789,
    kCmdFixedPos = 32790,
    kCmdShowToday = 32809,
    kCmdNextMonth = 32811,
    kCmdPrevMonth = 32813,
    kCmdTrayIcon = 32817,
    kCmdAutostart = 32819,
};

struct MonthlyMenuState {
    int contextDay = -1; // the day under the pointer, or -1
    bool dayHasMemo = false;
    bool topMost = false;
    bool fixedPos = false;
    bool showToday = false;
    bool trayIcon = false;
    bool autostartExists = false;
};

// The memo items when opened on a day, then navigation and the options.
std::vector<MenuItem> BuildMonthlyMenu(const MonthlyMenuState& state);
