// The window settings every gadget keeps in its settings ini, in the
// section named after the application.
#pragma once

#include "data/mg_file.h"

inline constexpr int kPositionUnset = -99999;

struct WindowSettings {
    int posX = kPositionUnset;
    int posY = kPositionUnset;
    int topMost = 1;
    int fixedPos = 0;
    int trayIcon = 1;

    void Load(const CMGFile& file);
};
