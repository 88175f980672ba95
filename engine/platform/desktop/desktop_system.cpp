// Time, input state, screen metrics and the XDG paths.
#include "desktop_platform.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::u16string ToU16(const std::filesystem::path& path) {
    return path.u16string();
}

// An absolute path from the environment, else home + fallback.
std::filesystem::path XdgFolder(const char* variable, const char* underHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') {
        return value;
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "/") / underHome;
}

// /tmp/lumi-<uid>, private to the user. A folder of that name that is not
// ours or is open to others is refused: locks and sockets there could be
// taken or spoofed.
std::filesystem::path PrivateTempFolder() {
    std::filesystem::path folder = "/tmp/lumi-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid() || (info.st_mode & 077) != 0) {
        return {};
    }
    return folder;
}

} // namespace

DWORD DesktopPlatform::TimeGetTime() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void DesktopPlatform::Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

LocalTime DesktopPlatform::GetLocalTime() {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    auto sinceSecond = now - std::chrono::system_clock::from_time_t(seconds);
    LocalTime time;
    time.year = static_cast<WORD>(local.tm_year + 1900);
    time.month = static_cast<WORD>(local.tm_mon + 1);
    time.dayOfWeek = static_cast<WORD>(local.tm_wday);
    time.day = static_cast<WORD>(local.tm_mday);
    time.hour = static_cast<WORD>(local.tm_hour);
    time.minute = static_cast<WORD>(local.tm_min);
    time.second = static_cast<WORD>(local.tm_sec);
    time.milliseconds = static_cast<WORD>(
        std::chrono::duration_cast<std::chrono::milliseconds>(sinceSecond).count() % 1000);
    return time;
}

bool DesktopPlatform::IsKeyDown(int virtualKey) {
    // Asks the window system now, not the last event seen.
    Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
    switch (virtualKey) {
    case VK_CONTROL:
        return held.testFlag(Qt::ControlModifier);
    case VK_SHIFT:
        return held.testFlag(Qt::ShiftModifier);
    case VK_MENU:
        return held.testFlag(Qt::AltModifier);
    default:
        return false;
    }
}

POINT DesktopPlatform::GetCursorPos() {
    QPoint at = QCursor::pos();
    return POINT{at.x(), at.y()};
}

bool DesktopPlatform::ClipCursor(const RECT* /*rect*/) {
    // Confining the pointer is not offered to desktop programs here.
    return true;
}

int DesktopPlatform::GetSystemMetrics(int index) {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return 0;
    }
    switch (index) {
    case SM_CXSCREEN:
        return screen->geometry().width();
    case SM_CYSCREEN:
        return screen->geometry().height();
    case SM_CXFULLSCREEN:
        return screen->availableGeometry().width();
    case SM_CYFULLSCREEN:
        return screen->availableGeometry().height();
    default:
        return 0;
    }
}

DisplayMode DesktopPlatform::GetDisplayMode() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return DisplayMode{};
    }
    return DisplayMode{screen->geometry().width(), screen->geometry().height(),
                       static_cast<int>(std::lround(screen->refreshRate()))};
}

std::u16string DesktopPlatform::ExecutablePath() {
    std::error_code error;
    return ToU16(std::filesystem::read_symlink("/proc/self/exe", error));
}

std::u16string DesktopPlatform::DataHome() {
    return ToU16(XdgFolder("XDG_DATA_HOME", ".local/share"));
}

std::u16string DesktopPlatform::ConfigHome() {
    return ToU16(XdgFolder("XDG_CONFIG_HOME", ".config"));
}

std::u16string DesktopPlatform::RuntimeDir() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        return ToU16(runtime);
    }
    return ToU16(PrivateTempFolder());
}
