// The desktop behaviour the gadgets share: a borderless window without a
// taskbar entry placed where the user left it, dragging, keep-above, the
// tray icon, the autostart entry, the About box and the single instance.
// Each program supplies its values as a DesktopProfile.
#pragma once

#include "app_base.h"
#include "desktop_profile.h"
#include "window_settings.h"

class CDesktopIntegration {
public:
    CDesktopIntegration(CAppBase& app, const DesktopProfile& profile);

    // Takes the program's single-instance lock. A program that takes over
    // asks the running one to close and tries again, 51 times 100 ms apart.
    // 0: another instance runs, so start-up must fail.
    int AcquireSingleInstance();
    // The popup window of the profile, sized to its client size without a
    // repaint, answering close requests from other processes. 0 on failure.
    int CreateWindow(HINSTANCE instance);
    // Clamps the saved position onto the screen (in memory only).
    void PlaceWindow();
    // After the first frame is composed: moves the window to its place,
    // top-most if wanted, and shows it.
    void ShowPlaced(int showCommand);
    // The system move; the new position is written afterwards.
    void DragMove();
    void SetTopMost(int on);
    void BringToFront();
    int AddTrayIcon();
    int RemoveTrayIcon() { return app_.RemoveTrayIcon(); }
    int ShortcutExists() const;
    // create 1: asks, writes the autostart entry, reports; create 0: asks,
    // removes it, reports.
    void ToggleShortcut(int create);
    void ShowAbout();

    // The window options every gadget's menu offers, each written the moment
    // it changes.
    void ToggleTopMost();
    void ToggleFixedPos();
    void ToggleTrayIcon();
    // Creates the autostart entry when there is none, else removes it.
    void ToggleAutostart();
    // Flips a 0/1 setting of the program and writes it under key.
    void ToggleSetting(int& value, const char16_t* key);
    // A click on the tray icon brings the window forward; true for a right
    // click, after which the program shows its menu at the cursor.
    bool OnTrayClick(LPARAM mouseMessage);
    // The plain window's repaint: the paint hook then presents the buffer.
    void InvalidateAndUpdate();

    WindowSettings settings;

private:
    std::u16string ShortcutPath(int faceNumber) const;

    CAppBase& app_;
    const DesktopProfile& profile_;
};

// The About box (dialog 103) with the program's title and button text.
DialogTemplate MakeAboutDialog(const char16_t* title, const char16_t* buttonText);
