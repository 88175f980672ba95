#include "clock_menu.h"

std::vector<MenuItem> BuildClockMenu(const ClockMenuState& state) {
    std::vector<MenuItem> items;
    items.push_back({kCommandSettings, u"闹铃及整点报时设定(&C)...", false, false});
    items.push_back({kCommandAlarmEnable, u"启用闹铃", state.alarmEnabled, false});
    if (state.offer24Hour) {
        items.push_back({kCommand24Hour, u"24時間表示", state.digital24, false});
    }
    items.push_back({kCommandTopMost, u"始终最前端显示", state.topMost, false});
    items.push_back({kCommandFixedPos, u"固定在此位置", state.fixedPos, false});
    items.push_back({kCommandTrayIcon, u"状态栏图标显示", state.trayIcon, false});
    items.push_back(
        {kCommandAutostart, state.autostartExists ? u"取消自动启动" : u"自动启动", false, false});
    items.push_back(MenuItem{});
    items.push_back({kCommandAbout, u"关于(&A)...", false, false});
    items.push_back({kCommandExit, u"退出(&X)", false, false});
    return items;
}
