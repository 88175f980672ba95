#include "shot_programs.h"

#include "clock/clock_app.h"
#include "daily/daily_app.h"
#include "monthly/monthly_app.h"

namespace {

ShotLaunch LaunchMonthly(const std::vector<std::string>& args, std::string* error) {
    if (!args.empty()) {
        *error = "monthly takes no arguments";
        return {};
    }
    auto create = [] {
        CAppBase* app = CreateMonthlyApp();
        app->classStyle |= CS_DBLCLKS;
        return app;
    };
    return ShotLaunch{create, "LumiMonthly", "monthly"};
}

ShotLaunch LaunchClock(const std::vector<std::string>& args, std::string* error) {
    int face = args.size() == 1 && args[0].size() == 1 ? args[0][0] - '0' : 0;
    if (face < 1 || face > 7) {
        *error = "clock takes one face number, 1 to 7";
        return {};
    }
    auto create = [face] {
        CAppBase* app = CreateClockApp(face);
        app->useBackgroundBrush = 0;
        return app;
    };
    std::string number = face == 1 ? "" : std::to_string(face);
    return ShotLaunch{create, "LumiClock" + number, "clock" + std::to_string(face)};
}

ShotLaunch LaunchDaily(const std::vector<std::string>& args, std::string* error) {
    if (!args.empty()) {
        *error = "daily takes no arguments";
        return {};
    }
    return ShotLaunch{CreateDailyApp, "LumiDaily", "daily"};
}

const ShotProgram kPrograms[] = {
    {"monthly", "", LaunchMonthly},
    {"clock", "N", LaunchClock},
    {"daily", "", LaunchDaily},
};

} // namespace

std::span<const ShotProgram> ShotPrograms() {
    return kPrograms;
}
