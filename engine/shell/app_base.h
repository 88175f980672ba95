// The application object: owns the main window, the message loop, frame
// pacing and the dispatch of window messages to overridable hooks. Each
// program derives exactly one CApp from it.
#pragma once

#include "control_manager.h"
#include "data/mg_file.h"
#include "platform/platform.h"

class CSprite;

class CAppBase {
public:
    CAppBase();
    CAppBase(const CAppBase&) = delete;
    CAppBase& operator=(const CAppBase&) = delete;

    // The process's application object, set by the constructor.
    static CAppBase* Instance();

    // Hooks, in their fixed order.
    virtual ATOM RegisterWindowClass(HINSTANCE instance);
    virtual int CreateMainWindow(HINSTANCE instance, int showCommand);
    virtual void OnExit() {}
    virtual void OnPaint(HDC /*dc*/) {}
    virtual void OnLButtonDown(int /*x*/, int /*y*/) {}
    virtual void OnRButtonDown(int /*x*/, int /*y*/) {}
    virtual void OnLButtonUp(int /*x*/, int /*y*/) {}
    // 0 lets the system turn the release into WM_CONTEXTMENU.
    virtual int OnRButtonUp(int /*x*/, int /*y*/) { return 0; }
    virtual void OnLButtonDblClk(int /*x*/, int /*y*/) {}
    virtual void OnRButtonDblClk(int /*x*/, int /*y*/) {}
    virtual void OnMouseWheel(int /*delta*/, int /*keyState*/) {}
    virtual void OnMouseMove(int x, int y);
    virtual void OnKeyDown(int /*virtualKey*/) {}
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual void Tick();
    virtual int BeginFrame() { return 1; }
    virtual void OnFrame() {}
    virtual void ShowFps(const char16_t* titleText, int frames);
    virtual int OnScreenSave() { return 0; }
    virtual int OnSysClose() { return 0; }
    virtual void OnContextMenu(int /*x*/, int /*y*/) {}
    virtual int OnCommand(WPARAM /*wParam*/, LPARAM /*lParam*/) { return 0; }
    virtual void OnTimer(WPARAM /*timerId*/) {}
    virtual int OnClose() { return 1; }
    virtual void OnActivateApp(int active);
    virtual void OnActivate(WPARAM /*wParam*/, LPARAM /*lParam*/) {}
    virtual void OnDropFiles(WPARAM /*drop*/) {}
    virtual void OnCopyData(WPARAM /*sender*/, LPARAM /*data*/) {}
    virtual LRESULT OnUserMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    virtual int OnQueryEndSession() { return 1; }
    virtual void OnTrayNotify(WPARAM /*wParam*/, LPARAM /*lParam*/) {}
    // Four reserved hooks keep the order of the ones programs override.
    virtual int Reserved31() { return 0; }
    virtual int Reserved32() { return 0; }
    virtual int Reserved33() { return 0; }
    virtual int Reserved34() { return 0; }
    virtual ~CAppBase();
    virtual int Init(HINSTANCE instance, int showCommand);
    virtual int SetClientSize(int width, int height);
    // Button events of the sprite manager: 1 pressed, 2 released, 3 hovered
    // or focused; value is always 0.
    virtual void OnControlEvent(CSprite* /*control*/, int /*controlId*/, int /*eventCode*/,
                                int /*value*/, CControlManager* /*manager*/) {}
    virtual void Reserved39(int, int, int, int, int) {}
    virtual int Reserved40(int, int) { return -1; }
    virtual void Reserved41(int) {}
    virtual int Reserved42(int, int) { return 0; }
    virtual void Reserved43(int) {}
    virtual void Reserved44(int, int, int) {}
    virtual int Reserved45(int) { return 0; }
    virtual int Reserved46(int) { return 0; }

    // Shell operations used by the programs.
    int RunMessageLoop();
    int SetClientSizeNoRepaint(int width, int height);
    void CentreWindow();
    // Alt+Enter: windowed <-> full screen (the window is resized only; the
    // display mode is never changed here).
    void SwitchFullscreen(bool on);
    void ConfineCursor();
    // Removes the notification-area icon if one is shown; the shell calls it
    // on WM_CLOSE and WM_QUERYENDSESSION.
    int RemoveTrayIcon();

    CMGFile file;
    char16_t title[kTitleUnits] = {};
    char16_t className[kTitleUnits] = {};
    HWND hWnd = nullptr;
    HINSTANCE hInstance = nullptr;
    int paused = 0;
    DWORD frameInterval = 33;
    int showFpsInTitle = 1;
    int fps = 0;
    DWORD lastFrameTime = 0;
    int fullscreenWanted = 0;
    int fullscreenSwitchDisabled = 1;
    int displayModeChanged = 0;
    int clientWidth = 640;
    int clientHeight = 480;
    DisplayMode savedDisplayMode;
    int mouseX = 0;
    int mouseY = 0;
    int iconId = IDI_APPLICATION;
    int appActive = 0;
    CControlManager* controlManager = nullptr;
    int fastForwardDisabled = 1;
    int normalSpeed = 1;
    int clipCursor = 0;
    int redrawRequested = 0;
    UINT classStyle = CS_HREDRAW | CS_VREDRAW;
    int useBackgroundBrush = 1;
    int trayIconShown = 0;

private:
    int ResizeClient(int width, int height, bool repaint);
    bool TranslateAccelerator(const MSG& message);

    // The one-second frame-rate window, started by the first Tick.
    int framesCounted_ = 0;
    DWORD fpsWindowStart_ = 0;
    bool fpsWindowStarted_ = false;
};

// The program entry sequence: Init, the message loop, destruction. Takes
// ownership of app; returns the process exit code (0 when Init fails).
int RunApplication(CAppBase* app, HINSTANCE instance, int showCommand);
