// Backends are chosen by name through one small table, so programs, tests
// and tools pick theirs without conditional compilation in the core.
#pragma once

#include "platform.h"

#include <memory>
#include <span>
#include <string_view>

struct PlatformBackend {
    const char* name;
    const char* description;
    std::unique_ptr<Platform> (*create)();
};

std::span<const PlatformBackend> PlatformBackends();

// Creates the named backend and installs it as Sys() for the rest of the
// process. False when no backend has that name.
bool SelectPlatform(std::string_view name);
// Destroys the selected backend while the program can still tear it down
// (a toolkit's own state is gone once static destruction has begun).
void ReleasePlatform();
