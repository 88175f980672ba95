// Dragging by the caption: a blocking move, as the original system's move
// loop. The window manager moves the window while the button is held; where
// none takes the move, the backend moves the window with the pointer.
#include "desktop_platform.h"

#include "desktop_x11.h"

#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

namespace {

// How often the pointer's button is asked for while the window manager
// holds the pointer (its release never reaches the program).
constexpr int kButtonPollMs = 15;
// The longest wait for the final position after the release.
constexpr int kSettleLimitMs = 1000;

// Runs the event loop until done() holds, waking at least every intervalMs.
template <typename Done> void ProcessEventsUntil(int intervalMs, Done done) {
    QTimer wake;
    wake.start(intervalMs);
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace

void DesktopPlatform::RunSystemMove(DesktopWindowRecord& record) {
    DesktopWindow& widget = *record.widget;
    if (!state_.x11) {
        MoveWithPointer(record);
        return;
    }
    // A release that came before the move started would leave the window
    // manager moving the window until the next click.
    if (!x11::PrimaryButtonDown()) {
        return;
    }
    if (!widget.windowHandle()->startSystemMove()) {
        MoveWithPointer(record);
        return;
    }
    ProcessEventsUntil(kButtonPollMs, [] { return !x11::PrimaryButtonDown(); });
    // The final position reaches Qt in a configure event after the release;
    // the caller reads the window rectangle next, so wait for it.
    QElapsedTimer settling;
    settling.start();
    WId native = widget.winId();
    ProcessEventsUntil(kButtonPollMs, [&] {
        std::optional<QPoint> origin = x11::WindowOrigin(native);
        return !origin || *origin == widget.mapToGlobal(QPoint(0, 0)) ||
               settling.elapsed() > kSettleLimitMs;
    });
}

void DesktopPlatform::MoveWithPointer(DesktopWindowRecord& record) {
    DesktopWindow& widget = *record.widget;
    auto buttonHeld = [this] {
        return state_.x11 ? x11::PrimaryButtonDown()
                          : (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0;
    };
    if (!buttonHeld()) {
        return;
    }
    state_.pointerMoveWindow = record.handle;
    state_.pointerMoveGrip = QCursor::pos() - widget.frameGeometry().topLeft();
    widget.grabMouse();
    ProcessEventsUntil(kButtonPollMs, [&] {
        if (state_.pointerMoveWindow != nullptr && !buttonHeld()) {
            state_.pointerMoveWindow = nullptr;
        }
        return state_.pointerMoveWindow == nullptr;
    });
    widget.releaseMouse();
}

bool DesktopPlatform::TrackPointerMove(QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseMove: {
        auto& mouse = static_cast<QMouseEvent&>(event);
        DesktopWindowRecord* record = Find(state_.pointerMoveWindow);
        if (record != nullptr) {
            record->widget->move(mouse.globalPosition().toPoint() - state_.pointerMoveGrip);
        }
        return true;
    }
    case QEvent::MouseButtonRelease:
        state_.pointerMoveWindow = nullptr;
        return true;
    default:
        return false;
    }
}
