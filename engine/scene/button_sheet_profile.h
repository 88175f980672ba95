// The per-program constants of the sprite manager: which sheet the buttons
// are cut from, the cell size, the default cells and the id range a reset
// returns to normal.
#pragma once

#include "platform/win32_types.h"

struct ButtonSheetProfile {
    const char16_t* sheetName = nullptr; // nullptr: the program has no buttons
    int cellWidth = 0;
    int cellHeight = 0;
    POINT defaultCells[3] = {}; // normal, hover, pressed
    int resetFirstId = 0;
    int resetLastId = -1;
};
