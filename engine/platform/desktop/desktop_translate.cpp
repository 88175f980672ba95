// Qt events to window messages with Win32 numbers and packing.
#include "desktop_translate.h"

#include "platform/win32_constants.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace {

// Key-state bits of mouse messages (MK_*).
constexpr WPARAM kKeyStateLeft = 0x0001;
constexpr WPARAM kKeyStateRight = 0x0002;
constexpr WPARAM kKeyStateShift = 0x0004;
constexpr WPARAM kKeyStateControl = 0x0008;
constexpr WPARAM kKeyStateMiddle = 0x0010;

// Virtual keys the shared constants do not name.
constexpr int kVkPrior = 0x21;
constexpr int kVkNext = 0x22;
constexpr int kVkEnd = 0x23;
constexpr int kVkHome = 0x24;
constexpr int kVkInsert = 0x2D;
constexpr int kVkDelete = 0x2E;
constexpr int kVkApps = 0x5D;
constexpr int kVkF1 = 0x70;

// Key-message lParam bits: repeat count 1, Alt held, previous state, release.
constexpr LPARAM kRepeatOnce = 1;
constexpr LPARAM kContextAlt = LPARAM{1} << 29;
constexpr LPARAM kWasDown = LPARAM{1} << 30;
constexpr LPARAM kReleasing = LPARAM{1} << 31;

WPARAM KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    WPARAM state = 0;
    if (buttons & Qt::LeftButton) {
        state |= kKeyStateLeft;
    }
    if (buttons & Qt::RightButton) {
        state |= kKeyStateRight;
    }
    if (buttons & Qt::MiddleButton) {
        state |= kKeyStateMiddle;
    }
    if (modifiers & Qt::ShiftModifier) {
        state |= kKeyStateShift;
    }
    if (modifiers & Qt::ControlModifier) {
        state |= kKeyStateControl;
    }
    return state;
}

LPARAM ClientPoint(const QMouseEvent& mouse) {
    QPoint at = mouse.position().toPoint();
    return MakeLParam(at.x(), at.y());
}

// The press, release and double-click messages of one button; 0 when the
// engine does not take that button.
struct ButtonMessages {
    UINT down = 0;
    UINT up = 0;
    UINT doubleClick = 0;
};

ButtonMessages MessagesOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
    case Qt::RightButton:
        return {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK};
    default:
        return {};
    }
}

std::optional<MSG> TranslateMouse(HWND window, UINT classStyle, const QMouseEvent& mouse) {
    WPARAM keyState = KeyStateOf(mouse.buttons(), mouse.modifiers());
    LPARAM at = ClientPoint(mouse);
    if (mouse.type() == QEvent::MouseMove) {
        return MSG{window, WM_MOUSEMOVE, keyState, at};
    }
    ButtonMessages messages = MessagesOf(mouse.button());
    if (messages.down == 0) {
        return std::nullopt;
    }
    switch (mouse.type()) {
    case QEvent::MouseButtonPress:
        // The press that completes a double click is followed by the
        // double-click event, which stands for it.
        if (mouse.flags() & Qt::MouseEventCreatedDoubleClick) {
            return std::nullopt;
        }
        return MSG{window, messages.down, keyState, at};
    case QEvent::MouseButtonRelease:
        return MSG{window, messages.up, keyState, at};
    case QEvent::MouseButtonDblClick: {
        // Without CS_DBLCLKS the second click is an ordinary press.
        UINT message = (classStyle & CS_DBLCLKS) != 0 ? messages.doubleClick : messages.down;
        return MSG{window, message, keyState, at};
    }
    default:
        return std::nullopt;
    }
}

std::optional<MSG> TranslateKey(HWND window, const QKeyEvent& key) {
    int virtualKey = VirtualKeyOf(key.key());
    if (virtualKey == 0) {
        return std::nullopt;
    }
    bool alt = (key.modifiers() & Qt::AltModifier) != 0;
    bool press = key.type() == QEvent::KeyPress;
    LPARAM bits = kRepeatOnce | (alt ? kContextAlt : 0);
    if (press) {
        bits |= key.isAutoRepeat() ? kWasDown : 0;
        return MSG{window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(virtualKey), bits};
    }
    bits |= kWasDown | kReleasing;
    return MSG{window, alt ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(virtualKey), bits};
}

std::optional<MSG> TranslateWheel(HWND window, const QWheelEvent& wheel) {
    // One notch is 120 on both systems.
    int delta = wheel.angleDelta().y();
    if (delta == 0) {
        return std::nullopt;
    }
    WPARAM keyState = KeyStateOf(wheel.buttons(), wheel.modifiers());
    QPoint screen = wheel.globalPosition().toPoint();
    return MSG{window, WM_MOUSEWHEEL, MakeWParam(static_cast<int>(keyState), delta),
               MakeLParam(screen.x(), screen.y())};
}

} // namespace

int VirtualKeyOf(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) {
        return 'A' + (qtKey - Qt::Key_A);
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        return '0' + (qtKey - Qt::Key_0);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return kVkF1 + (qtKey - Qt::Key_F1);
    }
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_PageUp:
        return kVkPrior;
    case Qt::Key_PageDown:
        return kVkNext;
    case Qt::Key_Home:
        return kVkHome;
    case Qt::Key_End:
        return kVkEnd;
    case Qt::Key_Insert:
        return kVkInsert;
    case Qt::Key_Delete:
        return kVkDelete;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Menu:
        return kVkApps;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return VK_OEM_2;
    default:
        return 0;
    }
}

std::optional<MSG> TranslateEvent(HWND window, UINT classStyle, const QEvent& event) {
    switch (event.type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return TranslateMouse(window, classStyle, static_cast<const QMouseEvent&>(event));
    case QEvent::Wheel:
        return TranslateWheel(window, static_cast<const QWheelEvent&>(event));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return TranslateKey(window, static_cast<const QKeyEvent&>(event));
    case QEvent::ContextMenu:
        // Only the keyboard's menu request: a right release becomes
        // WM_CONTEXTMENU through the window procedure's default handling.
        if (static_cast<const QContextMenuEvent&>(event).reason() == QContextMenuEvent::Keyboard) {
            return MSG{window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), -1};
        }
        return std::nullopt;
    case QEvent::Close:
        return MSG{window, WM_CLOSE, 0, 0};
    case QEvent::WindowActivate:
        return MSG{window, WM_ACTIVATE, WA_ACTIVE, 0};
    case QEvent::WindowDeactivate:
        return MSG{window, WM_ACTIVATE, WA_INACTIVE, 0};
    default:
        return std::nullopt;
    }
}
