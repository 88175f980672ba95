// The application object, the message queue, native input and the idle
// wait of the message loop.
#include "desktop_platform.h"

#include "desktop_translate.h"

#include <QApplication>
#include <QLocalServer>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// Qt keeps references to argc and argv for the life of the application.
int g_argc = 1;
std::string g_programName;
char* g_argv[] = {nullptr, nullptr};
QApplication* g_application = nullptr;

} // namespace

DesktopPlatform::DesktopPlatform() {
    // Exact placement, keep-above and the system move need X11; on a Wayland
    // session that is XWayland. A platform the user chose is kept.
    setenv("QT_QPA_PLATFORM", "xcb", 0);
    if (QCoreApplication::instance() == nullptr) {
        std::error_code error;
        g_programName = std::filesystem::read_symlink("/proc/self/exe", error).filename();
        if (g_programName.empty()) {
            g_programName = "lumi";
        }
        g_argv[0] = g_programName.data();
        // Lives until the process ends: the backend itself is destroyed among
        // the static objects at exit, after Qt's own, too late for
        // ~QApplication.
        g_application = new QApplication(g_argc, g_argv);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    state_.x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    state_.applicationActive = QGuiApplication::applicationState() == Qt::ApplicationActive;

    // Wakes the idle wait when the next frame is due.
    state_.frameTimer = std::make_unique<QTimer>();
    state_.frameTimer->setSingleShot(true);
    state_.frameTimer->setTimerType(Qt::PreciseTimer);

    QObject::connect(qApp, &QGuiApplication::applicationStateChanged,
                     [this](Qt::ApplicationState state) {
                         OnApplicationStateChanged(state == Qt::ApplicationActive);
                     });
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, [this](QSessionManager& manager) {
        bool allowed = true;
        for (auto& [handle, record] : state_.windows) {
            allowed = SendMessage(handle, WM_QUERYENDSESSION, 0, 0) != 0 && allowed;
        }
        if (!allowed) {
            manager.cancel();
        }
    });
}

DesktopPlatform::~DesktopPlatform() {
    state_.closeServers.clear();
    state_.trays.clear();
    for (int descriptor : state_.instanceLocks) {
        ::close(descriptor);
    }
    state_.windows.clear();
    state_.frameTimer.reset();
    // Widgets of destroyed windows wait for deferred deletion.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void DesktopPlatform::OnApplicationStateChanged(bool active) {
    if (active == state_.applicationActive) {
        return;
    }
    state_.applicationActive = active;
    for (auto& [handle, record] : state_.windows) {
        Enqueue(MSG{handle, WM_ACTIVATEAPP, active ? WPARAM{1} : WPARAM{0}, 0});
    }
}

bool DesktopPlatform::OnNativeEvent(HWND window, QEvent& event) {
    if (window == state_.pointerMoveWindow && TrackPointerMove(event)) {
        return true;
    }
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    if (event.type() == QEvent::Show) {
        // The native window exists now and is mapped right after this.
        ApplyNativeHints(*record, true);
    }
    if (std::optional<MSG> message = TranslateEvent(window, record->classStyle, event)) {
        Enqueue(*message);
    }
    if (event.type() == QEvent::Close) {
        // The window goes only when the program destroys it.
        event.ignore();
        return true;
    }
    return false;
}

LRESULT DesktopPlatform::Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto item = state_.dialogItems.find(window);
        item != state_.dialogItems.end() && item->second.procedure != nullptr) {
        return item->second.procedure(window, message, wParam, lParam);
    }
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    if (record->windowProc == nullptr) {
        return DefWindowProc(window, message, wParam, lParam);
    }
    return record->windowProc(window, message, wParam, lParam);
}

bool DesktopPlatform::PeekMessage(MSG* message, UINT removeFlags) {
    if (state_.queue.empty()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    if (!state_.queue.empty()) {
        *message = state_.queue.front();
        if ((removeFlags & PM_REMOVE) != 0) {
            state_.queue.pop_front();
        }
        return true;
    }
    // As on the original system, WM_PAINT is generated for an invalid
    // window once nothing else waits; layered windows never get it.
    for (auto& [handle, record] : state_.windows) {
        if (record.invalid && !record.IsLayered() && record.widget->isVisible()) {
            *message = MSG{handle, WM_PAINT, 0, 0};
            return true;
        }
    }
    if (state_.quitCode) {
        *message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(*state_.quitCode), 0};
        if ((removeFlags & PM_REMOVE) != 0) {
            state_.quitCode.reset();
        }
        return true;
    }
    return false;
}

void DesktopPlatform::TranslateMessage(const MSG& /*message*/) {
    // Character messages are not used by the engine.
}

LRESULT DesktopPlatform::DispatchMessage(const MSG& message) {
    return Call(message.hwnd, message.message, message.wParam, message.lParam);
}

bool DesktopPlatform::PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && Find(window) == nullptr) {
        return false;
    }
    Enqueue(MSG{window, message, wParam, lParam});
    return true;
}

LRESULT DesktopPlatform::SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Call(window, message, wParam, lParam);
}

void DesktopPlatform::PostQuitMessage(int exitCode) {
    state_.quitCode = exitCode;
}

LRESULT DesktopPlatform::DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_RBUTTONUP: {
        POINT screen{SignedLoWord(lParam), SignedHiWord(lParam)};
        ClientToScreen(window, &screen);
        SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window),
                    MakeLParam(screen.x, screen.y));
        return 0;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendMessage(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION) {
            RunSystemMove(*record);
        }
        return 0;
    case WM_PAINT:
        record->invalid = false;
        return 0;
    case WM_QUERYENDSESSION:
        return 1;
    default:
        return 0;
    }
}

void DesktopPlatform::WaitIdle(DWORD frameDueTime) {
    if (!state_.queue.empty()) {
        return;
    }
    // Signed difference: a due time just passed is negative, also across
    // the counter's wrap.
    auto remaining = static_cast<std::int32_t>(frameDueTime - TimeGetTime());
    if (remaining <= 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return;
    }
    state_.frameTimer->start(remaining);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
