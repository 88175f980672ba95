// LumiDaily's rows of the shared tables: its window and desktop behaviour,
// and its button sheet.
#pragma once

#include "scene/button_sheet_profile.h"
#include "shell/desktop_profile.h"

namespace daily {

inline constexpr int kPageWidth = 320;
inline constexpr int kPageHeight = 184;

inline const DesktopProfile kDesktopProfile{kPageWidth,
                                            kPageHeight,
                                            WS_EX_LAYERED | WS_EX_TOOLWINDOW,
                                            nullptr,
                                            u"Lumi☆日历",
                                            u"SEM_Lumi_DAILY_CAL",
                                            false,
                                            u"Lumi☆日历.lnk",
                                            0,
                                            1,
                                            32,
                                            32,
                                            u"OK"};

inline const ButtonSheetProfile kButtonSheet{u"cal_button01.mg",         32,    32,
                                             {{0, 0}, {0, 32}, {0, 64}}, 10000, 10009};

} // namespace daily
