// The desktop backend's entry for the platform registry, which names it
// without depending on Qt.
#include "desktop_platform.h"

std::unique_ptr<Platform> CreateDesktopPlatform() {
    return std::make_unique<DesktopPlatform>();
}
