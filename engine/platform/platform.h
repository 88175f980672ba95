// The seam between the engine and the operating system. Everything the
// engine asks of the system goes through one Platform object, chosen by name
// at start (platform_registry.h). Operations keep their Win32 meaning:
// message numbers, parameter packing, flags and results are the original
// ones, so the engine's routing can be written and tested exactly.
#pragma once

#include "audio_device.h"
#include "dialog_template.h"
#include "win32_constants.h"
#include "win32_types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What RegisterClassEx needs here; menus and extra bytes have no use.
struct WindowClassInfo {
    UINT style = 0;
    WNDPROC windowProc = nullptr;
    HINSTANCE instance = nullptr;
    int iconId = IDI_APPLICATION; // IDI_APPLICATION or an icon of the program
    bool backgroundBrush = true;  // the system window colour, else none
    std::u16string className;
};

// The desktop's display mode as found at start.
struct DisplayMode {
    int width = 0;
    int height = 0;
    int refreshRate = 0; // 0 when unknown
};

// A 32-bit picture whose rows are stored bottom-up, as a DIB section holds
// them; pixels are 0xAARRGGBB.
struct PixelView {
    const std::uint32_t* bits = nullptr;
    int width = 0;
    int height = 0;
};

struct MenuItem {
    UINT id = 0; // 0 for a separator
    std::u16string text;
    bool checked = false;
    bool grayed = false;
    bool IsSeparator() const { return id == 0 && text.empty(); }
};

class Platform {
public:
    virtual ~Platform() = default;
    virtual const char* Name() const = 0;

    // --- Window classes and windows -------------------------------------
    virtual ATOM RegisterClass(const WindowClassInfo& info) = 0;
    // Returns nullptr when the class is unknown. CW_USEDEFAULT picks the
    // position or size. WM_CREATE is not sent: nothing in the engine uses it.
    virtual HWND CreateWindow(DWORD exStyle, std::u16string_view className,
                              std::u16string_view title, DWORD style, int x, int y, int width,
                              int height, HWND parent) = 0;
    // Sends WM_DESTROY to the window procedure, then forgets the window.
    virtual bool DestroyWindow(HWND window) = 0;
    virtual bool IsWindow(HWND window) = 0;
    virtual bool ShowWindow(HWND window, int command) = 0;
    // Sends WM_PAINT now when the window has an invalid region.
    virtual bool UpdateWindow(HWND window) = 0;
    virtual bool InvalidateRect(HWND window, const RECT* rect, bool erase) = 0;
    virtual bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint) = 0;
    virtual bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                              UINT flags) = 0;
    // GWL_STYLE, GWL_EXSTYLE and GWLP_USERDATA (wide enough for a pointer).
    virtual LONG_PTR GetWindowLongPtr(HWND window, int index) = 0;
    virtual LONG_PTR SetWindowLongPtr(HWND window, int index, LONG_PTR value) = 0;
    virtual bool SetWindowText(HWND window, std::u16string_view text) = 0;
    virtual std::u16string GetWindowText(HWND window) = 0;
    // Outer rectangle in screen coordinates.
    virtual bool GetWindowRect(HWND window, RECT* rect) = 0;
    // Client rectangle: (0, 0, client width, client height).
    virtual bool GetClientRect(HWND window, RECT* rect) = 0;
    virtual bool ClientToScreen(HWND window, POINT* point) = 0;
    virtual bool ScreenToClient(HWND window, POINT* point) = 0;

    // --- Message queue ---------------------------------------------------
    // Non-blocking: takes the next message if one is waiting. WM_QUIT is
    // delivered once the queue holds nothing else.
    virtual bool PeekMessage(MSG* message, UINT removeFlags) = 0;
    virtual void TranslateMessage(const MSG& message) = 0;
    virtual LRESULT DispatchMessage(const MSG& message) = 0;
    virtual bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    // The system's default handling: WM_CLOSE destroys the window, an
    // unhandled right-button release becomes WM_CONTEXTMENU, SC_CLOSE
    // becomes WM_CLOSE, WM_NCLBUTTONDOWN on HTCAPTION runs the system move.
    virtual LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The idle pass of the message loop (a 1 ms sleep on the original
    // platform). frameDueTime is when the next frame is due on the
    // TimeGetTime clock, so a backend may sleep until then or until input.
    virtual void WaitIdle(DWORD frameDueTime) = 0;

    // --- Time -------------------------------------------------------------
    // Monotonic milliseconds as a wrapping 32-bit counter.
    virtual DWORD TimeGetTime() = 0;
    virtual void Sleep(DWORD milliseconds) = 0;
    virtual LocalTime GetLocalTime() = 0;

    // --- Input state ------------------------------------------------------
    // Whether the key is held right now (GetAsyncKeyState's high bit).
    virtual bool IsKeyDown(int virtualKey) = 0;
    virtual POINT GetCursorPos() = 0;
    // nullptr releases the confinement.
    virtual bool ClipCursor(const RECT* rect) = 0;

    // --- Screen -----------------------------------------------------------
    virtual int GetSystemMetrics(int index) = 0;
    virtual DisplayMode GetDisplayMode() = 0;

    // --- Painting and presentation ---------------------------------------
    // Between BeginPaint and EndPaint the window counts as valid.
    virtual HDC BeginPaint(HWND window) = 0;
    virtual void EndPaint(HWND window, HDC dc) = 0;
    // SetDIBitsToDevice: draws the picture at (x, y) of the window behind
    // the paint context; alpha is ignored. A layered window keeps what
    // PresentLayered gave it: this draws nothing there.
    virtual bool PresentPlain(HDC dc, int x, int y, const PixelView& picture) = 0;
    // UpdateLayeredWindow: premultiplied pixels become the window's content,
    // per-pixel opacity and click-through shape; the window moves to topLeft.
    virtual bool PresentLayered(HWND window, POINT topLeft, const PixelView& premultiplied) = 0;

    // --- Menus and message boxes -----------------------------------------
    // Shows a popup menu at a screen point; a chosen item is posted to the
    // owner as WM_COMMAND and its id returned, 0 when dismissed.
    virtual UINT TrackPopupMenu(const std::vector<MenuItem>& items, POINT screen, HWND owner) = 0;
    // Modal; returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption,
                           UINT type) = 0;

    // --- Dialogs ------------------------------------------------------------
    // Builds the dialog and runs it modally over owner: the procedure gets
    // WM_INITDIALOG with lParam = initParam, then WM_COMMAND notifications;
    // Escape and the close box send WM_COMMAND with IDCANCEL. Returns the
    // value given to EndDialog, -1 when the dialog cannot be built.
    virtual std::intptr_t DialogBox(const DialogTemplate& dialog, HWND owner, DLGPROC procedure,
                                    LPARAM initParam) = 0;
    virtual bool EndDialog(HWND dialog, std::intptr_t result) = 0;
    // A control's window: Get/SetWindowText, ShowWindow and EnableWindow
    // work on it.
    virtual HWND GetDlgItem(HWND dialog, int controlId) = 0;
    virtual bool EnableWindow(HWND window, bool enable) = 0;
    virtual bool IsWindowEnabled(HWND window) = 0;
    virtual bool SetFocus(HWND window) = 0;
    virtual bool CheckDlgButton(HWND dialog, int controlId, UINT state) = 0;
    virtual UINT IsDlgButtonChecked(HWND dialog, int controlId) = 0;
    // Drop-down lists: entries are added in order; CB_ERR for no selection.
    virtual int AddListEntry(HWND dialog, int controlId, std::u16string_view text) = 0;
    virtual bool SetListSelection(HWND dialog, int controlId, int index) = 0;
    virtual int GetListSelection(HWND dialog, int controlId) = 0;
    // The open-file dialog; false when cancelled.
    virtual bool GetOpenFileName(HWND owner, const OpenFileRequest& request,
                                 std::u16string* chosenPath) = 0;

    // --- Tray ---------------------------------------------------------------
    // Notifications arrive as callbackMessage with the mouse message in lParam.
    virtual bool AddTrayIcon(HWND window, UINT callbackMessage, int iconId,
                             std::u16string_view tip) = 0;
    virtual bool RemoveTrayIcon(HWND window) = 0;

    // --- Single instance and close requests ------------------------------
    // Takes the named lock for the life of the process; false when another
    // process holds it.
    virtual bool AcquireInstanceLock(std::u16string_view name) = 0;
    // Asks the program whose main window has this class and title to close
    // (it posts WM_CLOSE to itself); false when none answers.
    virtual bool RequestClose(std::u16string_view className, std::u16string_view title) = 0;
    // Makes this process answer RequestClose for the window.
    virtual bool ListenForCloseRequests(HWND window, std::u16string_view className,
                                        std::u16string_view title) = 0;

    // --- Paths ------------------------------------------------------------
    // The running executable's full path.
    virtual std::u16string ExecutablePath() = 0;
    // $XDG_DATA_HOME, $XDG_CONFIG_HOME and the per-user runtime folder,
    // without a trailing separator.
    virtual std::u16string DataHome() = 0;
    virtual std::u16string ConfigHome() = 0;
    virtual std::u16string RuntimeDir() = 0;

    // --- Audio --------------------------------------------------------------
    // The output device: mixed PCM buffers and the memory-sound voice.
    virtual AudioDevice& Audio() = 0;
};

// The process-wide platform. Selecting a backend (platform_registry.h)
// installs it; using the seam before that is a programming error.
Platform& Sys();
void InstallPlatform(Platform* platform);
bool HasPlatform();
