#include "shot_programs.h"

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

const ShotProgram kPrograms[] = {
    {"monthly", "", LaunchMonthly},
};

} // namespace

std::span<const ShotProgram> ShotPrograms() {
    return kPrograms;
}
