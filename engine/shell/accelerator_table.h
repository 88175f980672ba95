// The programs' accelerator table (resource 109): Alt with the '/' or '?'
// key sends command 104, the About box.
#pragma once

#include "platform/win32_types.h"

#include <array>

struct Accelerator {
    int virtualKey;
    bool alt;
    WORD command;
};

inline constexpr WORD kAboutCommand = 104;

inline constexpr std::array kAcceleratorTable = {
    Accelerator{0xBF /* VK_OEM_2, '/' and '?' */, true, kAboutCommand},
};
