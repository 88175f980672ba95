// The monthly calendar program: its application object is made here, so
// the program entry, the tests and the snapshot tool start the same one.
#pragma once

#include "shell/app_base.h"
#include "shell/desktop_profile.h"

extern const DesktopProfile kMonthlyDesktop;

// A new monthly calendar application; the caller owns it (RunApplication
// takes it over).
CAppBase* CreateMonthlyApp();
