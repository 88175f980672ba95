// What each gadget tells the shared desktop behaviour about itself: one
// row of data per program (and per clock face), so the engine code has no
// per-program branches.
#pragma once

#include "platform/win32_types.h"

struct DesktopProfile {
    int clientWidth = 0;
    int clientHeight = 0;
    DWORD exStyle = 0;                     // WS_EX_TOOLWINDOW, plus WS_EX_LAYERED when layered
    const char16_t* windowClass = nullptr; // nullptr: the application name
    const char16_t* title = u"";           // window title, tray tip and About text
    const char16_t* semaphore = u"";       // the single-instance lock's name
    // A second start closes the running program (found by class and title)
    // and takes its place instead of ending.
    bool takesOverRunningInstance = false;
    // The autostart entry's name; "%d" is filled with faceNumber.
    const char16_t* shortcutName = u"";
    int faceNumber = 0;
    // With several faces, creating one face's entry removes the others'.
    int faceCount = 1;
    int edgeMarginX = 32; // saved positions this close to the right or bottom edge snap back
    int edgeMarginY = 32;
    const char16_t* aboutButtonText = u"OK";
};

inline constexpr int kTrayIconId = 108;
inline constexpr int kAboutIconId = 107;
inline constexpr int kAboutDialogId = 103;
