// The clock's application object: a small per-pixel-alpha window showing
// one face, redrawn once a second, with the alarm and the hourly chime.
#pragma once

#include "alarm_entry.h"
#include "chime_scheduler.h"
#include "face_composer.h"
#include "face_table.h"
#include "scene/sprite_manager.h"
#include "shell/app_base.h"
#include "shell/desktop_integration.h"

#include <memory>

// Every program has its own CApp; the inline namespace keeps the classes
// apart when one tool links several programs.
inline namespace clock_program {

class CApp : public CAppBase {
public:
    explicit CApp(const ClockFace& face);
    ~CApp() override;

    int CreateMainWindow(HINSTANCE instance, int showCommand) override;
    void OnExit() override;
    void OnPaint(HDC dc) override;
    void OnLButtonDown(int x, int y) override;
    void OnFrame() override;
    void OnContextMenu(int x, int y) override;
    int OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnTrayNotify(WPARAM wParam, LPARAM lParam) override;

    // Runs the settings dialog and applies and saves a confirmed result.
    void OpenConfigDialog();

    const ClockFace& face;
    const DesktopProfile profile;
    CDesktopIntegration desktop;

    FaceImages images;
    std::unique_ptr<CSurface> backBuffer;
    std::unique_ptr<C2DManager> sceneManager;

    LocalTime now{}; // read at the start of each frame
    int lastSecond = -1;
    int lastMinute = -1;

    // Settings beside the window's own (desktop.settings).
    int jihou = kChimeRandom;
    int digital24;

    AlarmEntry alarm;
    ChimeScheduler scheduler;

private:
    void ComposeAndPresent();
};

} // namespace clock_program

// The clock of face 1-7; nullptr for another number.
CAppBase* CreateClockApp(int face);
