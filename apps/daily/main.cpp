// LumiDaily: the tear-off daily calendar on the desktop.
#include "daily_app.h"
#include "platform/platform_registry.h"

#include <cstdio>

int main() {
    if (!SelectPlatform("desktop")) {
        std::fputs("LumiDaily: no desktop backend is available\n", stderr);
        return 1;
    }
    int exitCode = RunApplication(CreateDailyApp(), nullptr, SW_SHOW);
    ReleasePlatform();
    return exitCode;
}
