// The programs lumi-shot can photograph: one row per program, each naming
// the archive it draws from and how its application object is made.
#pragma once

#include "shell/app_base.h"

#include <functional>
#include <span>
#include <string>
#include <vector>

// The application is made only once the headless paths are set, because
// its file service takes the program folder from the executable's path.
struct ShotLaunch {
    std::function<CAppBase*()> create; // the caller owns what it makes
    std::string executableName;        // gives the application name and save folder
    std::string archiveName;           // the archive in the build tree, without ".idx2"
};

struct ShotProgram {
    const char* name;
    const char* arguments; // what follows the name, for the help text
    // How to make the program's application from the arguments after the
    // name. On bad arguments: create stays empty and error says why.
    ShotLaunch (*launch)(const std::vector<std::string>& args, std::string* error);
};

std::span<const ShotProgram> ShotPrograms();
