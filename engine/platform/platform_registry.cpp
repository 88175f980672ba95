#include "platform_registry.h"

#include "headless/headless_platform.h"

#include <array>

namespace {

std::unique_ptr<Platform> CreateHeadless() {
    return std::make_unique<HeadlessPlatform>();
}

const std::array kBackends = {
    PlatformBackend{"headless", "in-memory windows, virtual clock, scripted input", CreateHeadless},
};

std::unique_ptr<Platform> g_selected;

} // namespace

std::span<const PlatformBackend> PlatformBackends() {
    return kBackends;
}

bool SelectPlatform(std::string_view name) {
    for (const PlatformBackend& backend : kBackends) {
        if (name == backend.name) {
            g_selected = backend.create();
            InstallPlatform(g_selected.get());
            return true;
        }
    }
    return false;
}
