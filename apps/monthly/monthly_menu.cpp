#include "monthly_menu.h"

namespace {

MenuItem Item(UINT id, const char16_t* text, bool checked = false) {
    MenuItem item;
    item.id = id;
    item.text = text;
    item.checked = checked;
    return item;
}

const MenuItem kSeparator{};

} // namespace

std::vector<MenuItem> BuildMonthlyMenu(const MonthlyMenuState& state) {
    std::vector<MenuItem> items;
    if (state.contextDay >= 1) {
        if (state.dayHasMemo) {
            items.push_back(Item(kCmdEditMemo, u"编辑该日备忘录(&S)..."));
            items.push_back(Item(kCmdDeleteMemo, u"清除该日备忘录(&D)..."));
        } else {
            items.push_back(Item(kCmdEditMemo, u"新建备忘录(&S)..."));
        }
        items.push_back(kSeparator);
    }
    items.push_back(Item(kCmdPrevMonth, u"上月"));
    items.push_back(Item(kCmdNextMonth, u"下月"));
    items.push_back(Item(kCmdTopMost, u"始终最前端显示", state.topMost));
    items.push_back(Item(kCmdFixedPos, u"固定在此位置", state.fixedPos));
    items.push_back(Item(kCmdShowToday, u"启动时显示今日备忘提醒", state.showToday));
    items.push_back(kSeparator);
    items.push_back(Item(kCmdTrayIcon, u"状态栏图标显示", state.trayIcon));
    items.push_back(Item(kCmdAutostart, state.autostartExists ? u"取消自动启动" : u"自动启动"));
    items.push_back(kSeparator);
    items.push_back(Item(kCmdAbout, u"关于(&A)..."));
    items.push_back(Item(kCmdExit, u"退出(&X)"));
    return items;
}
