// The headless backend: a deterministic, in-memory system for tests and the
// snapshot tool. Time is virtual (an idle pass advances it by one step),
// windows are records, input is scripted into the queue, menus, message
// boxes and system moves answer from scripts, and everything shown is
// recorded: a call log, the message boxes and menus, and presented frames.
#pragma once

#include "headless_audio.h"
#include "platform/platform.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

class HeadlessDialogSession;

class HeadlessPlatform final : public Platform {
public:
    struct WindowRecord {
        HWND handle = nullptr;
        std::u16string className;
        std::u16string title;
        DWORD style = 0;
        DWORD exStyle = 0;
        RECT rect; // outer rectangle, screen coordinates
        bool visible = false;
        bool topMost = false;
        bool invalid = false; // needs WM_PAINT
        WNDPROC windowProc = nullptr;
        LONG_PTR userData = 0;
        RECT FrameInsets() const; // left, top, right, bottom widths of the frame
    };
    struct ShownMessageBox {
        std::u16string text;
        std::u16string caption;
        UINT type = 0;
        int answer = 0;
    };
    struct ShownMenu {
        std::vector<MenuItem> items;
        POINT at;
        UINT chosen = 0;
    };
    struct PresentedFrame {
        HWND window = nullptr;
        bool layered = false;
        POINT at; // client offset (plain) or screen corner (layered)
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels; // rows bottom-up, as handed over
        std::uint32_t PixelAt(int x, int y) const { return pixels[(height - 1 - y) * width + x]; }
    };
    // A control's state when its dialog ended.
    struct ControlSnapshot {
        std::u16string text;
        bool enabled = true;
        bool visible = true;
        UINT checked = BST_UNCHECKED;
        std::vector<std::u16string> entries;
        int selection = CB_ERR;
    };
    struct ShownDialog {
        int templateId = 0;
        std::intptr_t result = 0;
        std::map<int, ControlSnapshot> controls;
    };
    // A scripted user acting on a running dialog through the session.
    using DialogScript = std::function<void(HeadlessDialogSession&)>;
    struct TrayIcon {
        UINT callbackMessage = 0;
        int iconId = 0;
        std::u16string tip;
    };

    HeadlessPlatform();
    ~HeadlessPlatform() override;
    const char* Name() const override { return "headless"; }

    // Platform: windows.
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

    // Platform: message queue.
    bool PeekMessage(MSG* message, UINT removeFlags) override;
    void TranslateMessage(const MSG& message) override;
    LRESULT DispatchMessage(const MSG& message) override;
    bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostQuitMessage(int exitCode) override;
    LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void WaitIdle(DWORD frameDueTime) override;

    // Platform: time, input state, screen.
    DWORD TimeGetTime() override;
    void Sleep(DWORD milliseconds) override;
    LocalTime GetLocalTime() override;
    bool IsKeyDown(int virtualKey) override;
    POINT GetCursorPos() override;
    bool ClipCursor(const RECT* rect) override;
    int GetSystemMetrics(int index) override;
    DisplayMode GetDisplayMode() override;

    // Platform: painting, menus, boxes, tray, instances, paths.
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
    // Platform: audio, the virtual output of headless_audio.h.
    HeadlessAudioDevice& Audio() override { return audio_; }

    // --- Scripting: the virtual clock ------------------------------------
    // Virtual milliseconds since the backend was created.
    std::uint64_t Elapsed() const { return elapsed_; }
    // Makes TimeGetTime return value now (the counter then runs on from it).
    void SetTickCount(DWORD value);
    // How far one idle pass moves the clock (1 ms unless a test slows it).
    void SetIdleStep(DWORD milliseconds) { idleStep_ = milliseconds; }
    void Advance(DWORD milliseconds);
    // The wall clock now; it runs on with the virtual clock.
    void SetLocalTime(const LocalTime& time);
    // When the virtual clock reaches this many milliseconds, WM_QUIT with
    // exit code -1 is posted, so a test whose program never ends still does.
    void SetRunLimit(std::uint64_t elapsedMs) {
        runLimit_ = elapsedMs;
        runLimitHit_ = false;
    }

    // --- Scripting: screen and input -------------------------------------
    void SetScreen(int width, int height, int workWidth, int workHeight);
    void SetRefreshRate(int hertz) { refreshRate_ = hertz; }
    void SetCursorPos(POINT screen) { cursor_ = screen; }
    void SetKeyDown(int virtualKey, bool down);
    // Queues a message that becomes visible once the clock reaches atElapsed.
    void PostAt(std::uint64_t atElapsed, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // --- Scripting: answers ------------------------------------------------
    // Unscripted boxes answer with their first button; menus are dismissed.
    void QueueMessageBoxAnswer(int answer) { boxAnswers_.push_back(answer); }
    void QueueMenuChoice(UINT id) { menuChoices_.push_back(id); }
    // The next system move ends with the window moved by (dx, dy); an
    // unscripted one ends where it started.
    void QueueSystemMove(int dx, int dy) { moves_.push_back({dx, dy}); }
    // Dialogs run the queued scripts in order; a dialog with no script, or
    // whose script leaves it open, is closed as by its close box.
    void QueueDialogScript(DialogScript script) { dialogScripts_.push_back(std::move(script)); }
    // The next open-file dialog picks this path; nullopt cancels it. An
    // unscripted one is cancelled.
    void QueueOpenFileAnswer(std::optional<std::u16string> path) {
        openFileAnswers_.push_back(std::move(path));
    }
    void SetTrayAvailable(bool available) { trayAvailable_ = available; }
    // As if another process held the lock.
    void HoldInstanceLockElsewhere(std::u16string_view name);
    void ReleaseInstanceLockElsewhere(std::u16string_view name);
    // A program of another process that answers close requests.
    void AddPeerWindow(std::u16string_view className, std::u16string_view title,
                       std::function<void()> onCloseRequest);
    // Fixes the paths; without this each backend gets its own temporary
    // folder tree, removed when it is destroyed.
    void SetPaths(std::u16string executable, std::u16string dataHome, std::u16string configHome,
                  std::u16string runtimeDir);

    // --- Records --------------------------------------------------------
    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    const std::vector<ShownMessageBox>& MessageBoxes() const { return boxes_; }
    const std::vector<ShownMenu>& Menus() const { return menus_; }
    const std::vector<ShownDialog>& Dialogs() const { return dialogsShown_; }
    const std::vector<OpenFileRequest>& OpenFileRequests() const { return openFileRequests_; }
    // The most recent presented frames (older ones are dropped) and a count
    // of all of them.
    const std::deque<PresentedFrame>& Frames() const { return frames_; }
    std::size_t PresentedCount() const { return presentedCount_; }
    const WindowRecord* Window(HWND window) const;
    // Visible and hidden windows, topmost first.
    const std::vector<HWND>& ZOrder() const { return zOrder_; }
    std::optional<TrayIcon> Tray(HWND window) const;
    std::optional<RECT> CursorClip() const { return clip_; }

private:
    friend class HeadlessDialogSession;
    struct ControlState {
        HWND dialog = nullptr;
        const DialogControl* control = nullptr;
        bool enabled = true;
        UINT checked = BST_UNCHECKED;
        std::vector<std::u16string> entries;
        int selection = CB_ERR;
    };
    struct DialogState {
        const DialogTemplate* dialog = nullptr;
        DLGPROC procedure = nullptr;
        bool ended = false;
        std::intptr_t result = 0;
        std::vector<HWND> controls; // in template order
    };
    struct Scheduled {
        std::uint64_t at;
        MSG message;
    };
    WindowRecord* Find(HWND window);
    LRESULT Call(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Log(std::string entry) { calls_.push_back(std::move(entry)); }
    void Raise(WindowRecord& record);
    void ReleaseDueMessages();
    void EnsurePaths();
    void RunSystemMove(WindowRecord& record);
    ControlState* FindControl(HWND dialog, int controlId);
    HWND NewWindowRecord(std::u16string className, std::u16string title, DWORD style, RECT rect);
    ShownDialog Snapshot(const DialogState& state);

    std::map<std::u16string, WindowClassInfo> classes_;
    std::map<HWND, WindowRecord> windows_;
    std::vector<HWND> zOrder_;
    std::uintptr_t nextWindowId_ = 0x100;
    std::deque<MSG> queue_;
    std::vector<Scheduled> scheduled_;
    std::optional<int> quitCode_;

    std::uint64_t elapsed_ = 0;
    DWORD tickBase_ = 0;
    DWORD idleStep_ = 1;
    std::uint64_t runLimit_ = 10ull * 60 * 1000;
    bool runLimitHit_ = false;
    std::int64_t localBaseMs_ = 0; // wall clock at localSetAt_, ms since 1970 (local)
    std::uint64_t localSetAt_ = 0;
    bool localTimeSet_ = false;

    int screenWidth_ = 1920;
    int screenHeight_ = 1080;
    int workWidth_ = 1920;
    int workHeight_ = 1040;
    int refreshRate_ = 60;
    POINT cursor_{};
    std::set<int> keysDown_;
    std::optional<RECT> clip_;

    std::deque<int> boxAnswers_;
    std::deque<UINT> menuChoices_;
    std::deque<POINT> moves_;
    bool trayAvailable_ = true;
    std::map<HWND, TrayIcon> trays_;
    std::map<HWND, DialogState> dialogs_;
    std::map<HWND, ControlState> controls_;
    std::deque<DialogScript> dialogScripts_;
    std::vector<ShownDialog> dialogsShown_;
    std::deque<std::optional<std::u16string>> openFileAnswers_;
    std::vector<OpenFileRequest> openFileRequests_;
    std::set<std::u16string> locksHere_;
    std::set<std::u16string> locksElsewhere_;
    std::map<std::pair<std::u16string, std::u16string>, HWND> closeListeners_;
    std::map<std::pair<std::u16string, std::u16string>, std::function<void()>> peers_;

    std::vector<std::string> calls_;
    std::vector<ShownMessageBox> boxes_;
    std::vector<ShownMenu> menus_;
    std::deque<PresentedFrame> frames_;
    std::size_t presentedCount_ = 0;

    std::u16string executablePath_, dataHome_, configHome_, runtimeDir_;
    std::filesystem::path ownedRoot_;
    HeadlessAudioDevice audio_;
};
