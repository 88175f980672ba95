// One clock program per face; the face number is compiled in.
#include "clock_app.h"
#include "platform/platform_registry.h"

#include <cstdio>

int main() {
    if (!SelectPlatform("desktop")) {
        std::fprintf(stderr, "LumiClock: the desktop backend is not available\n");
        return 1;
    }
    CAppBase* app = CreateClockApp(LUMI_CLOCK_FACE);
    // The layered window paints itself; no background brush.
    app->useBackgroundBrush = 0;
    int exitCode = RunApplication(app, nullptr, SW_SHOW);
    ReleasePlatform();
    return exitCode;
}
