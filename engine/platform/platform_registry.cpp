#include "platform_registry.h"

#include "headless/headless_platform.h"

#include <array>

// Defined by the desktop backend's library in the programs that link it;
// the weak reference keeps Qt out of everything else.
std::unique_ptr<Platform> CreateDesktopPlatform() __attribute__((weak));

namespace {

std::unique_ptr<Platform> CreateHeadless() {
    return std::make_unique<HeadlessPlatform>();
}

std::unique_ptr<Platform> CreateDesktop() {
    if (CreateDesktopPlatform == nullptr) {
        return nullptr;
    }
    return CreateDesktopPlatform();
}

const std::array kBackends = {
    PlatformBackend{"headless", "in-memory windows, virtual clock, scripted input", CreateHeadless},
    PlatformBackend{"desktop", "Qt 6 widgets on X11 (when the program links it)", CreateDesktop},
};

std::unique_ptr<Platform> g_selected;

} // namespace

std::span<const PlatformBackend> PlatformBackends() {
    return kBackends;
}

bool SelectPlatform(std::string_view name) {
    for (const PlatformBackend& backend : kBackends) {
        if (name == backend.name) {
            std::unique_ptr<Platform> created = backend.create();
            if (created == nullptr) {
                return false;
            }
            g_selected = std::move(created);
            InstallPlatform(g_selected.get());
            return true;
        }
    }
    return false;
}

void ReleasePlatform() {
    InstallPlatform(nullptr);
    g_selected.reset();
}
