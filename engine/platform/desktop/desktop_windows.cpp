// Window classes and windows: creation with the native hints, geometry,
// styles, visibility and z-order.
#include "desktop_platform.h"

#include "desktop_x11.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

bool IsFrameless(DWORD style) {
    return (style & WS_POPUP) != 0 && (style & WS_CAPTION) != WS_CAPTION;
}

Qt::WindowFlags FlagsFor(DWORD style, DWORD exStyle, bool topMost) {
    Qt::WindowFlags flags = (exStyle & WS_EX_TOOLWINDOW) != 0 ? Qt::Tool : Qt::Window;
    flags.setFlag(Qt::FramelessWindowHint, IsFrameless(style));
    flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
    return flags;
}

RECT RectOf(const QRect& r) {
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

// The outer rectangle in screen coordinates, for windows and controls.
QRect ScreenRectOf(const QWidget& widget) {
    if (widget.isWindow()) {
        return widget.frameGeometry();
    }
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

// The frame's widths around the client area: left, top, right, bottom.
QMargins FrameOf(const QWidget& widget) {
    QRect frame = widget.frameGeometry();
    QRect client = widget.geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

// Places the window so that its outer rectangle is (x, y, width, height).
void SetOuterGeometry(QWidget& widget, int x, int y, int width, int height) {
    QMargins frame = FrameOf(widget);
    widget.setGeometry(x + frame.left(), y + frame.top(),
                       std::max(1, width - frame.left() - frame.right()),
                       std::max(1, height - frame.top() - frame.bottom()));
}

} // namespace

DesktopWindow::DesktopWindow(Qt::WindowFlags flags, bool translucent, EventSink sink)
    : QWidget(nullptr, flags), sink_(std::move(sink)) {
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    setAttribute(Qt::WA_QuitOnClose, false);
    // WM_MOUSEMOVE arrives without a button held too.
    setMouseTracking(true);
}

bool DesktopWindow::event(QEvent* event) {
    if (sink_(*event)) {
        return true;
    }
    return QWidget::event(event);
}

void DesktopWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(event->rect(), background);
    painter.drawImage(QPoint(0, 0), picture);
}

DesktopWindowRecord* DesktopPlatform::Find(HWND window) {
    auto it = state_.windows.find(window);
    return it == state_.windows.end() ? nullptr : &it->second;
}

ATOM DesktopPlatform::RegisterClass(const WindowClassInfo& info) {
    if (info.className.empty() || state_.classes.contains(info.className)) {
        return 0;
    }
    state_.classes[info.className] = info;
    return static_cast<ATOM>(0xC000 + state_.classes.size());
}

void DesktopPlatform::ApplyNativeHints(DesktopWindowRecord& record, bool beforeMapping) {
    if (!state_.x11) {
        return;
    }
    WId native = record.widget->winId();
    x11::SetWindowClass(native, QString::fromStdU16String(record.className).toStdString());
    // A mapped window's states belong to the window manager.
    if ((record.exStyle & WS_EX_TOOLWINDOW) != 0 && beforeMapping) {
        // Qt's tool type alone still leaves a taskbar entry on some panels.
        x11::AddWindowStates(native, {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"});
    }
}

HWND DesktopPlatform::CreateWindow(DWORD exStyle, std::u16string_view className,
                                   std::u16string_view title, DWORD style, int x, int y, int width,
                                   int height, HWND /*parent*/) {
    auto cls = state_.classes.find(std::u16string(className));
    if (cls == state_.classes.end()) {
        return nullptr;
    }
    HWND handle = reinterpret_cast<HWND>(state_.nextHandle++);
    DesktopWindowRecord& record = state_.windows[handle];
    record.handle = handle;
    record.className = className;
    record.classStyle = cls->second.style;
    record.windowProc = cls->second.windowProc;
    record.style = style;
    record.exStyle = exStyle;
    record.topMost = (exStyle & WS_EX_TOPMOST) != 0;
    record.widget = std::make_unique<DesktopWindow>(
        FlagsFor(style, exStyle, record.topMost), record.IsLayered(),
        [this, handle](QEvent& event) { return OnNativeEvent(handle, event); });

    DesktopWindow& widget = *record.widget;
    widget.setWindowTitle(QString::fromStdU16String(std::u16string(title)));
    widget.setWindowIcon(IconFor(cls->second.iconId));
    if (record.IsLayered()) {
        widget.background = Qt::transparent;
    } else if (cls->second.backgroundBrush) {
        widget.background = widget.palette().color(QPalette::Window);
    } else {
        widget.background = Qt::black;
    }
    if (width == CW_USEDEFAULT) {
        width = kDefaultWidth;
        height = kDefaultHeight;
    }
    widget.resize(std::max(1, width), std::max(1, height));
    if (x != CW_USEDEFAULT) {
        widget.move(x, y);
    }
    if ((style & WS_VISIBLE) != 0) {
        ShowWindow(handle, SW_SHOW);
    }
    return handle;
}

bool DesktopPlatform::DestroyWindow(HWND window) {
    if (Find(window) == nullptr) {
        return false;
    }
    Call(window, WM_DESTROY, 0, 0);
    state_.trays.erase(window);
    state_.closeServers.erase(window);
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        return true; // the window procedure destroyed it already
    }
    // Deleted once control is back in the event loop: this may run inside
    // one of the window's own event handlers.
    DesktopWindow* widget = record->widget.release();
    widget->hide();
    widget->deleteLater();
    state_.windows.erase(window);
    std::erase_if(state_.queue, [window](const MSG& m) { return m.hwnd == window; });
    return true;
}

bool DesktopPlatform::IsWindow(HWND window) {
    return WidgetOf(window) != nullptr;
}

bool DesktopPlatform::ShowWindow(HWND window, int command) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        QWidget* widget = WidgetOf(window);
        if (widget == nullptr) {
            return false;
        }
        bool wasVisible = widget->isVisible();
        widget->setVisible(command != SW_HIDE);
        return wasVisible;
    }
    bool wasVisible = record->widget->isVisible();
    if (command == SW_HIDE) {
        record->widget->hide();
        record->style &= ~WS_VISIBLE;
    } else {
        record->widget->show();
        record->style |= WS_VISIBLE;
        record->invalid = true;
    }
    return wasVisible;
}

bool DesktopPlatform::UpdateWindow(HWND window) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    if (record->invalid) {
        Call(window, WM_PAINT, 0, 0);
    }
    return true;
}

bool DesktopPlatform::InvalidateRect(HWND window, const RECT* /*rect*/, bool /*erase*/) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    record->invalid = true;
    return true;
}

bool DesktopPlatform::MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) {
        return false;
    }
    SetOuterGeometry(*widget, x, y, width, height);
    DesktopWindowRecord* record = Find(window);
    if (record != nullptr && repaint) {
        record->invalid = true;
    }
    return true;
}

void DesktopPlatform::SetKeepAbove(DesktopWindowRecord& record, bool on) {
    record.topMost = on;
    QWidget& widget = *record.widget;
    Qt::WindowFlags flags = widget.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (!widget.isVisible()) {
        widget.setWindowFlags(flags); // the hints follow when it is shown
        return;
    }
    // QWidget::setWindowFlags would hide a shown window; the mapped native
    // window takes the change, and the widget is told without a round trip.
    widget.overrideWindowFlags(flags);
    widget.windowHandle()->setFlags(flags);
    ApplyNativeHints(record, false); // Qt writes its own class with new flags
}

bool DesktopPlatform::SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width,
                                   int height, UINT flags) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        return false;
    }
    QWidget& widget = *record->widget;
    if ((flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
        QRect outer = widget.frameGeometry();
        if ((flags & SWP_NOMOVE) == 0) {
            outer.moveTo(x, y);
        }
        if ((flags & SWP_NOSIZE) == 0) {
            outer.setSize(QSize(width, height));
        }
        SetOuterGeometry(widget, outer.x(), outer.y(), outer.width(), outer.height());
    }
    if ((flags & SWP_NOZORDER) == 0) {
        if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
            SetKeepAbove(*record, insertAfter == HWND_TOPMOST);
            widget.raise();
        } else if (insertAfter == HWND_BOTTOM) {
            widget.lower();
        } else {
            widget.raise();
        }
    }
    if ((flags & SWP_SHOWWINDOW) != 0) {
        ShowWindow(window, SW_SHOW);
    }
    if ((flags & SWP_HIDEWINDOW) != 0) {
        ShowWindow(window, SW_HIDE);
    }
    return true;
}

LONG_PTR DesktopPlatform::GetWindowLongPtr(HWND window, int index) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        auto item = state_.dialogItems.find(window);
        return item != state_.dialogItems.end() && index == GWLP_USERDATA ? item->second.userData
                                                                          : 0;
    }
    switch (index) {
    case GWL_STYLE:
        return static_cast<LONG_PTR>(record->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(record->exStyle);
    case GWLP_USERDATA:
        return record->userData;
    default:
        return 0;
    }
}

LONG_PTR DesktopPlatform::SetWindowLongPtr(HWND window, int index, LONG_PTR value) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        // Dialogs keep their object in the user data; their styles are fixed.
        auto item = state_.dialogItems.find(window);
        if (item == state_.dialogItems.end() || index != GWLP_USERDATA) {
            return 0;
        }
        return std::exchange(item->second.userData, value);
    }
    LONG_PTR previous = GetWindowLongPtr(window, index);
    switch (index) {
    case GWL_STYLE: {
        DWORD style = static_cast<DWORD>(value);
        bool frameChanged = IsFrameless(style) != IsFrameless(record->style);
        record->style = style;
        if (frameChanged) {
            // A new frame needs a new native window, which needs the hints again.
            QRect geometry = record->widget->geometry();
            record->widget->setWindowFlags(FlagsFor(style, record->exStyle, record->topMost));
            record->widget->setGeometry(geometry);
        }
        record->widget->setVisible((style & WS_VISIBLE) != 0);
        break;
    }
    case GWL_EXSTYLE:
        // Layering and the tool hint are fixed when the window is created.
        record->exStyle = static_cast<DWORD>(value);
        break;
    case GWLP_USERDATA:
        record->userData = value;
        break;
    default:
        return 0;
    }
    return previous;
}

bool DesktopPlatform::SetWindowText(HWND window, std::u16string_view text) {
    DesktopWindowRecord* record = Find(window);
    if (record == nullptr) {
        auto item = state_.dialogItems.find(window);
        return item != state_.dialogItems.end() &&
               SetControlText(item->second, QString::fromStdU16String(std::u16string(text)));
    }
    record->widget->setWindowTitle(QString::fromStdU16String(std::u16string(text)));
    return true;
}

std::u16string DesktopPlatform::GetWindowText(HWND window) {
    if (DesktopWindowRecord* record = Find(window)) {
        return record->widget->windowTitle().toStdU16String();
    }
    auto item = state_.dialogItems.find(window);
    return item == state_.dialogItems.end() ? std::u16string()
                                            : ControlText(item->second).toStdU16String();
}

bool DesktopPlatform::GetWindowRect(HWND window, RECT* rect) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) {
        return false;
    }
    *rect = RectOf(ScreenRectOf(*widget));
    return true;
}

bool DesktopPlatform::GetClientRect(HWND window, RECT* rect) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) {
        return false;
    }
    *rect = RECT{0, 0, widget->width(), widget->height()};
    return true;
}

QPoint DesktopPlatform::ClientOrigin(QWidget& widget) const {
    if (state_.x11 && widget.isVisible()) {
        if (std::optional<QPoint> origin = x11::WindowOrigin(widget.winId())) {
            return *origin;
        }
    }
    return widget.mapToGlobal(QPoint(0, 0));
}

bool DesktopPlatform::ClientToScreen(HWND window, POINT* point) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) {
        return false;
    }
    QPoint origin = ClientOrigin(*widget);
    *point = POINT{point->x + origin.x(), point->y + origin.y()};
    return true;
}

bool DesktopPlatform::ScreenToClient(HWND window, POINT* point) {
    QWidget* widget = WidgetOf(window);
    if (widget == nullptr) {
        return false;
    }
    QPoint origin = ClientOrigin(*widget);
    *point = POINT{point->x - origin.x(), point->y - origin.y()};
    return true;
}
