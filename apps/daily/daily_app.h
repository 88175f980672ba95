// LumiDaily's application object: a tear-off calendar page per day, with
// the date written onto it, stepped by day and month, sliding the old page
// away when the date changes.
#pragma once

#include "calendar/calendar_rules.h"
#include "daily_date.h"
#include "imaging/surface.h"
#include "scene/sprite_manager.h"
#include "shell/app_base.h"
#include "shell/desktop_integration.h"
#include "sound/memory_sound.h"

#include <memory>

namespace daily {

inline constexpr int kTodayButton = 10000;
inline constexpr int kPreviousDayButton = 10001;
inline constexpr int kNextDayButton = 10002;

enum SlideDirection { kSlideForward = 0, kSlideBack = 1, kSlideToToday = 2 };

// Popup-menu commands.
inline constexpr int kCommandPreviousMonth = 32772;
inline constexpr int kCommandNextMonth = 32774;
inline constexpr int kCommandTopMost = 32776;
inline constexpr int kCommandFixedPos = 32778;
inline constexpr int kCommandTrayIcon = 32780;
inline constexpr int kCommandAutostart = 32782;
inline constexpr int kCommandAbout = 104;
inline constexpr int kCommandExit = 105;

class CApp : public CAppBase {
public:
    CApp();
    ~CApp() override;

    int CreateMainWindow(HINSTANCE instance, int showCommand) override;
    void OnExit() override;
    void OnPaint(HDC dc) override;
    void OnLButtonDown(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnFrame() override;
    void OnContextMenu(int x, int y) override;
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTrayNotify(WPARAM wParam, LPARAM lParam) override;
    void OnControlEvent(CSprite* control, int controlId, int eventCode, int value,
                        CControlManager* manager) override;

    void LoadDayPicture(int day, int year, int month);
    void ChangeDate(DailyDate date, int direction);
    void ShowButtons();
    void HideButtons();

    DailyDate Shown() const { return shown_; }
    int SlideOffset() const { return slideOffset_; }
    int SlideOpacity() const { return slideOpacity_; }
    int SlideDirectionNow() const { return slideDirection_; }
    bool ButtonsVisible() const { return buttonsVisible_ != 0; }
    CSurface* DayPicture() const { return dayPicture_.get(); }
    CDesktopIntegration& Desktop() { return desktop_; }
    C2DManager* Scene() const { return scene_.get(); }

private:
    void SetCalendarMonth();
    void Compose();
    void ShowPopupMenu(int x, int y);

    CDesktopIntegration desktop_;
    std::unique_ptr<CSurface> backBuffer_;
    std::unique_ptr<CSurface> dayPicture_;
    std::unique_ptr<CSurface> previousPicture_;
    std::unique_ptr<CSurface> weekdayImage_;
    std::unique_ptr<C2DManager> scene_;
    std::unique_ptr<CMemorySound> clickSound_;
    CTabDataBase holidays_;
    DayCodes dayCodes_{};
    DailyDate shown_;
    int slideOffset_ = -1;
    int slideOpacity_ = 0;
    int slideDirection_ = kSlideForward;
    int buttonsVisible_ = 0;
};

} // namespace daily

// The daily calendar's application, ready for RunApplication.
CAppBase* CreateDailyApp();
