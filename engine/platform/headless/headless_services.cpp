// Painting and presentation, menus, message boxes, tray, instance locks,
// close requests and paths.
#include "headless_platform.h"

#include "call_log.h"

#include <atomic>
#include <unistd.h>

namespace {

constexpr std::size_t kFramesKept = 8;

HDC DcOf(HWND window) {
    return reinterpret_cast<HDC>(window);
}
HWND WindowOf(HDC dc) {
    return reinterpret_cast<HWND>(dc);
}

int FirstButton(UINT type) {
    switch (type & kMessageBoxButtonMask) {
    case MB_YESNO:
        return IDYES;
    default:
        return IDOK;
    }
}

} // namespace

HDC HeadlessPlatform::BeginPaint(HWND window) {
    WindowRecord* record = Find(window);
    if (record == nullptr) {
        return nullptr;
    }
    record->invalid = false;
    return DcOf(window);
}

void HeadlessPlatform::EndPaint(HWND /*window*/, HDC /*dc*/) {}

bool HeadlessPlatform::PresentPlain(HDC dc, int x, int y, const PixelView& picture) {
    HWND window = WindowOf(dc);
    const WindowRecord* record = Find(window);
    // A layered window shows only what PresentLayered gave it, as painting
    // cannot reach such a window on the original platform either.
    if (record == nullptr || picture.bits == nullptr || (record->exStyle & WS_EX_LAYERED) != 0) {
        return false;
    }
    PresentedFrame frame{window, false, POINT{x, y}, picture.width, picture.height, {}};
    frame.pixels.assign(picture.bits, picture.bits + std::size_t(picture.width) * picture.height);
    frames_.push_back(std::move(frame));
    if (frames_.size() > kFramesKept) {
        frames_.pop_front();
    }
    ++presentedCount_;
    return true;
}

bool HeadlessPlatform::PresentLayered(HWND window, POINT topLeft, const PixelView& premultiplied) {
    WindowRecord* record = Find(window);
    if (record == nullptr || premultiplied.bits == nullptr) {
        return false;
    }
    record->rect = RECT{topLeft.x, topLeft.y, topLeft.x + premultiplied.width,
                        topLeft.y + premultiplied.height};
    PresentedFrame frame{window, true, topLeft, premultiplied.width, premultiplied.height, {}};
    frame.pixels.assign(premultiplied.bits, premultiplied.bits + std::size_t(premultiplied.width) *
                                                                     premultiplied.height);
    frames_.push_back(std::move(frame));
    if (frames_.size() > kFramesKept) {
        frames_.pop_front();
    }
    ++presentedCount_;
    return true;
}

UINT HeadlessPlatform::TrackPopupMenu(const std::vector<MenuItem>& items, POINT screen,
                                      HWND owner) {
    UINT chosen = 0;
    if (!menuChoices_.empty()) {
        chosen = menuChoices_.front();
        menuChoices_.pop_front();
    }
    menus_.push_back(ShownMenu{items, screen, chosen});
    Log(FormatCall("TrackPopupMenu", screen.x, screen.y, chosen));
    if (chosen != 0) {
        PostMessage(owner, WM_COMMAND, chosen, 0);
    }
    return chosen;
}

int HeadlessPlatform::MessageBox(HWND /*owner*/, std::u16string_view text,
                                 std::u16string_view caption, UINT type) {
    int answer = FirstButton(type);
    if (!boxAnswers_.empty()) {
        answer = boxAnswers_.front();
        boxAnswers_.pop_front();
    }
    boxes_.push_back(ShownMessageBox{std::u16string(text), std::u16string(caption), type, answer});
    Log(FormatCall("MessageBox", caption, text, Hex{type}, answer));
    return answer;
}

bool HeadlessPlatform::AddTrayIcon(HWND window, UINT callbackMessage, int iconId,
                                   std::u16string_view tip) {
    Log(FormatCall("AddTrayIcon", iconId, tip));
    if (!trayAvailable_ || Find(window) == nullptr) {
        return false;
    }
    trays_[window] = TrayIcon{callbackMessage, iconId, std::u16string(tip)};
    return true;
}

bool HeadlessPlatform::RemoveTrayIcon(HWND window) {
    Log(FormatCall("RemoveTrayIcon"));
    return trays_.erase(window) != 0;
}

std::optional<HeadlessPlatform::TrayIcon> HeadlessPlatform::Tray(HWND window) const {
    auto it = trays_.find(window);
    if (it == trays_.end()) {
        return std::nullopt;
    }
    return it->second;
}

bool HeadlessPlatform::AcquireInstanceLock(std::u16string_view name) {
    std::u16string key(name);
    bool taken = locksElsewhere_.contains(key) || locksHere_.contains(key);
    Log(FormatCall("AcquireInstanceLock", name, !taken));
    if (taken) {
        return false;
    }
    locksHere_.insert(key);
    return true;
}

void HeadlessPlatform::HoldInstanceLockElsewhere(std::u16string_view name) {
    locksElsewhere_.insert(std::u16string(name));
}

void HeadlessPlatform::ReleaseInstanceLockElsewhere(std::u16string_view name) {
    locksElsewhere_.erase(std::u16string(name));
}

void HeadlessPlatform::AddPeerWindow(std::u16string_view className, std::u16string_view title,
                                     std::function<void()> onCloseRequest) {
    peers_[{std::u16string(className), std::u16string(title)}] = std::move(onCloseRequest);
}

bool HeadlessPlatform::RequestClose(std::u16string_view className, std::u16string_view title) {
    std::pair<std::u16string, std::u16string> key{className, title};
    Log(FormatCall("RequestClose", className, title));
    if (auto peer = peers_.find(key); peer != peers_.end()) {
        auto onClose = std::move(peer->second);
        peers_.erase(peer);
        onClose();
        return true;
    }
    if (auto listener = closeListeners_.find(key); listener != closeListeners_.end()) {
        return PostMessage(listener->second, WM_CLOSE, 0, 0);
    }
    return false;
}

bool HeadlessPlatform::ListenForCloseRequests(HWND window, std::u16string_view className,
                                              std::u16string_view title) {
    if (Find(window) == nullptr) {
        return false;
    }
    closeListeners_[{std::u16string(className), std::u16string(title)}] = window;
    return true;
}

void HeadlessPlatform::SetPaths(std::u16string executable, std::u16string dataHome,
                                std::u16string configHome, std::u16string runtimeDir) {
    executablePath_ = std::move(executable);
    dataHome_ = std::move(dataHome);
    configHome_ = std::move(configHome);
    runtimeDir_ = std::move(runtimeDir);
}

void HeadlessPlatform::EnsurePaths() {
    if (!executablePath_.empty()) {
        return;
    }
    // A private folder tree per backend, so parallel tests never share files.
    static std::atomic<unsigned> counter{0};
    ownedRoot_ = std::filesystem::temp_directory_path() /
                 ("lumi-headless-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    for (const char* sub : {"bin", "data", "config", "runtime"}) {
        std::filesystem::create_directories(ownedRoot_ / sub);
    }
    auto text = [this](const char* sub) { return (ownedRoot_ / sub).u16string(); };
    SetPaths(text("bin") + u"/LumiHeadless", text("data"), text("config"), text("runtime"));
}

std::u16string HeadlessPlatform::ExecutablePath() {
    EnsurePaths();
    return executablePath_;
}

std::u16string HeadlessPlatform::DataHome() {
    EnsurePaths();
    return dataHome_;
}

std::u16string HeadlessPlatform::ConfigHome() {
    EnsurePaths();
    return configHome_;
}

std::u16string HeadlessPlatform::RuntimeDir() {
    EnsurePaths();
    return runtimeDir_;
}
