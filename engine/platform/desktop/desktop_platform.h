// The desktop backend: Qt 6 widgets, on X11 through the xcb platform.
// Implements every operation of the seam for real:
//   desktop_windows.cpp   window classes, windows, geometry, styles, z-order
//   desktop_events.cpp    the message queue, native input translation, idle wait
//   desktop_move.cpp      the blocking system move and its fallback
//   desktop_present.cpp   paint contexts, plain and layered presentation
//   desktop_menus.cpp     popup menus and message boxes
//   desktop_tray.cpp      the notification-area icon
//   desktop_instance.cpp  the single-instance lock and close requests
//   desktop_system.cpp    time, input state, screen metrics, paths
//   desktop_dialogs.cpp   dialogs built from their descriptions, open-file dialog
//   desktop_audio.cpp     the SDL2 audio device
//   desktop_x11.cpp       the few X11 calls Qt has no API for
#pragma once

#include "platform/platform.h"

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QImage>
#include <QLocalServer>
#include <QPoint>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The native window behind an HWND. It shows the last presented picture
// and hands every event to the backend's translation.
class DesktopWindow final : public QWidget {
public:
    using EventSink = std::function<bool(QEvent&)>;
    DesktopWindow(Qt::WindowFlags flags, bool translucent, EventSink sink);

    // What paintEvent draws over the background: the client area of plain
    // windows, the last picture of layered ones.
    QImage picture;
    QColor background;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    EventSink sink_;
};

struct DesktopWindowRecord {
    HWND handle = nullptr;
    std::u16string className;
    UINT classStyle = 0;
    WNDPROC windowProc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR userData = 0;
    bool invalid = false; // needs WM_PAINT
    bool topMost = false;
    // The last shape applied to a layered window, one byte per pixel
    // (1 inside), so that an unchanged alpha pattern is not sent again.
    std::vector<std::uint8_t> shape;
    int shapeWidth = 0;
    std::unique_ptr<DesktopWindow> widget;
    bool IsLayered() const { return (exStyle & WS_EX_LAYERED) != 0; }
};

// A dialog run by DialogBox, or one of its controls: to the engine both are
// windows whose text, visibility, enabling and geometry go by handle.
struct DialogItem {
    QWidget* widget = nullptr;              // owned by the running dialog
    HWND dialog = nullptr;                  // the dialog a control belongs to, or itself
    const DialogControl* control = nullptr; // null for the dialog itself
    DLGPROC procedure = nullptr;            // the dialog's
    LONG_PTR userData = 0;
    bool ended = false;
    std::intptr_t result = 0;
    bool settingText = false; // text set by the program, not typed
};

// Everything the backend keeps, in one place.
struct DesktopState {
    bool x11 = false; // the Qt platform is xcb
    std::map<std::u16string, WindowClassInfo> classes;
    std::map<HWND, DesktopWindowRecord> windows;
    std::map<HWND, DialogItem> dialogItems;
    std::uintptr_t nextHandle = 0x100;
    std::deque<MSG> queue;
    std::optional<int> quitCode;
    std::unique_ptr<QTimer> frameTimer;
    std::map<HWND, std::unique_ptr<QSystemTrayIcon>> trays;
    std::vector<int> instanceLocks; // descriptors held for the life of the process
    std::map<HWND, std::unique_ptr<QLocalServer>> closeServers;
    bool applicationActive = false;
    // The window the backend moves with the pointer when no window manager
    // takes the move, and where the pointer holds it.
    HWND pointerMoveWindow = nullptr;
    QPoint pointerMoveGrip;
    std::unique_ptr<AudioDevice> audio;
};

class DesktopPlatform final : public Platform {
public:
    DesktopPlatform();
    ~DesktopPlatform() override;
    const char* Name() const override { return "desktop"; }

    // Windows.
    ATOM RegisterClass(const WindowClassInfo& info) override;
    HWND CreateWindow(DWORD exStyle, std::u16string_view className, std::u16string_view title,
                      DWORD style, int x, int y, int width, int height, HWND parent) override;
    bool DestroyWindow(HWND window) override;
    bool IsWindow(HWND window) override;
    bool ShowWindow(HWND window, int command) override;
    bool UpdateWindow(HWND window) override;
    bool InvalidateRect(HWND window, const RECT* rect, bool erase) override;
    bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) override;
    bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                      UINT flags) override;
    LONG_PTR GetWindowLongPtr(HWND window, int index) override;
    LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) override;
    bool SetWindowText(HWND window, std::u16string_view text) override;
    std::u16string GetWindowText(HWND window) override;
    bool GetWindowRect(HWND window, RECT* rect) override;
    bool GetClientRect(HWND window, RECT* rect) override;
    bool ClientToScreen(HWND window, POINT* point) override;
    bool ScreenToClient(HWND window, POINT* point) override;

    // Message queue.
    bool PeekMessage(MSG* message, UINT removeFlags) override;
    void TranslateMessage(const MSG& message) override;
    LRESULT DispatchMessage(const MSG& message) override;
    bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WaitIdle(DWORD frameDueTime) override;

    // Time, input state, screen.
    DWORD TimeGetTime() override;
    void Sleep(DWORD milliseconds) override;
    LocalTime GetLocalTime() override;
    bool IsKeyDown(int virtualKey) override;
    POINT GetCursorPos() override;
    bool ClipCursor(const RECT* rect) override;
    int GetSystemMetrics(int index) override;
    DisplayMode GetDisplayMode() override;

    // Painting, menus, boxes, tray, instances, paths.
    HDC BeginPaint(HWND window) override;
    void EndPaint(HWND window, HDC dc) override;
    bool PresentPlain(HDC dc, int x, int y, const PixelView& picture) override;
    bool PresentLayered(HWND window, POINT topLeft, const PixelView& premultiplied) override;
    UINT TrackPopupMenu(const std::vector<MenuItem>& items, POINT screen, HWND owner) override;
    int MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                   UINT type) override;
    std::intptr_t DialogBox(const DialogTemplate& dialog, HWND owner, DLGPROC procedure,
                            LPARAM initParam) override;
    bool EndDialog(HWND dialog, std::intptr_t result) override;
    HWND GetDlgItem(HWND dialog, int controlId) override;
    bool EnableWindow(HWND window, bool enable) override;
    bool IsWindowEnabled(HWND window) override;
    bool SetFocus(HWND window) override;
    bool CheckDlgButton(HWND dialog, int controlId, UINT state) override;
    UINT IsDlgButtonChecked(HWND dialog, int controlId) override;
    int AddListEntry(HWND dialog, int controlId, std::u16string_view text) override;
    bool SetListSelection(HWND dialog, int controlId, int index) override;
    int GetListSelection(HWND dialog, int controlId) override;
    bool GetOpenFileName(HWND owner, const OpenFileRequest& request,
                         std::u16string* chosenPath) override;
    bool AddTrayIcon(HWND window, UINT callbackMessage, int iconId,
                     std::u16string_view tip) override;
    bool RemoveTrayIcon(HWND window) override;
    bool AcquireInstanceLock(std::u16string_view name) override;
    bool RequestClose(std::u16string_view className, std::u16string_view title) override;
    bool ListenForCloseRequests(HWND window, std::u16string_view className,
                                std::u16string_view title) override;
    std::u16string ExecutablePath() override;
    std::u16string DataHome() override;
    std::u16string ConfigHome() override;
    std::u16string RuntimeDir() override;

    AudioDevice& Audio() override;

    // Whether layered windows get real translucency (a compositor runs).
    bool CompositorRunning() const;

private:
    DesktopWindowRecord* Find(HWND window);
    // The widget of any window: a top-level one, a dialog or a control.
    QWidget* WidgetOf(HWND window);
    // The client area's top-left corner on the screen. On X11 the server is
    // asked: Qt's own idea lags behind a move the window manager just made.
    QPoint ClientOrigin(QWidget& widget) const;
    HWND NewHandle() { return reinterpret_cast<HWND>(state_.nextHandle++); }
    DialogItem* FindControl(HWND dialog, int controlId);
    void BuildControl(HWND dialog, QWidget& parent, const DialogControl& control, QSize baseUnits);
    void NotifyDialog(HWND control, WORD code);
    bool SetControlText(DialogItem& item, const QString& text);
    QString ControlText(const DialogItem& item);
    LRESULT Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool OnNativeEvent(HWND window, QEvent& event);
    void Enqueue(const MSG& message) { state_.queue.push_back(message); }
    void SetKeepAbove(DesktopWindowRecord& record, bool on);
    void RunSystemMove(DesktopWindowRecord& record);
    void MoveWithPointer(DesktopWindowRecord& record);
    bool TrackPointerMove(QEvent& event);
    void OnApplicationStateChanged(bool active);
    void ApplyLayeredShape(DesktopWindowRecord& record, const PixelView& premultiplied,
                           bool translucent);
    QWidget* OwnerWidget(HWND owner);
    // WM_CLASS and, before the window is mapped, the taskbar and pager states.
    void ApplyNativeHints(DesktopWindowRecord& record, bool beforeMapping);
    QIcon IconFor(int iconId);

    DesktopState state_;
};

std::unique_ptr<Platform> CreateDesktopPlatform();
