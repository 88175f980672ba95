// LumiMonthly: the monthly calendar gadget.
#include "monthly/monthly_app.h"
#include "platform/platform_registry.h"

#include <cstdio>

int main() {
    if (!SelectPlatform("desktop")) {
        std::fputs("LumiMonthly: the desktop platform is not available\n", stderr);
        return 1;
    }
    CAppBase* app = CreateMonthlyApp();
    app->classStyle |= CS_DBLCLKS;
    int exitCode = RunApplication(app, nullptr, SW_SHOW);
    ReleasePlatform();
    return exitCode;
}
