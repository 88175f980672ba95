#include "platform.h"

#include <cstdio>
#include <cstdlib>

namespace {
Platform* g_platform = nullptr;
}

Platform& Sys() {
    if (g_platform == nullptr) {
        std::fputs("lumi: the platform was used before a backend was selected\n", stderr);
        std::abort();
    }
    return *g_platform;
}

void InstallPlatform(Platform* platform) {
    g_platform = platform;
}

bool HasPlatform() {
    return g_platform != nullptr;
}
