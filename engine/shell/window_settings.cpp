#include "window_settings.h"

#include "data/profile.h"

void WindowSettings::Load(const CMGFile& file) {
    auto read = [&file](const char16_t* key, int fallback) {
        return GetPrivateProfileInt(file.AppName(), key, fallback, file.SettingsIni());
    };
    posX = read(u"PosX", kPositionUnset);
    posY = read(u"PosY", kPositionUnset);
    topMost = read(u"TopMost", 1);
    fixedPos = read(u"FixedPos", 0);
    trayIcon = read(u"TrayIcon", 1);
}
