// Construction, start-up and the default hooks of the application object.
#include "app_base.h"

namespace {

CAppBase* g_app = nullptr;

// The window class's procedure: every message goes to the application.
LRESULT ShellWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_app == nullptr) {
        return Sys().DefWindowProc(window, message, wParam, lParam);
    }
    return g_app->WindowProc(window, message, wParam, lParam);
}

constexpr int kMinRefreshRate = 30;
constexpr int kMaxRefreshRate = 250;

} // namespace

CAppBase::CAppBase() {
    g_app = this;
}

CAppBase::~CAppBase() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

CAppBase* CAppBase::Instance() {
    return g_app;
}

ATOM CAppBase::RegisterWindowClass(HINSTANCE instance) {
    WindowClassInfo info;
    info.style = classStyle;
    info.windowProc = ShellWindowProc;
    info.instance = instance;
    info.iconId = iconId;
    info.backgroundBrush = useBackgroundBrush != 0;
    info.className = className;
    return Sys().RegisterClass(info);
}

int CAppBase::CreateMainWindow(HINSTANCE /*instance*/, int showCommand) {
    hWnd = Sys().CreateWindow(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                              CW_USEDEFAULT, 0, nullptr);
    if (hWnd == nullptr) {
        return 0;
    }
    Sys().ShowWindow(hWnd, showCommand);
    Sys().UpdateWindow(hWnd);
    return 1;
}

int CAppBase::Init(HINSTANCE instance, int showCommand) {
    hInstance = instance;
    if (className[0] == 0) {
        CopyBounded(className, file.AppName());
    }
    CopyBounded(title, file.AppName());
    RegisterWindowClass(instance);

    DisplayMode mode = Sys().GetDisplayMode();
    savedDisplayMode = DisplayMode{mode.width, mode.height, 0};
    if (mode.refreshRate >= kMinRefreshRate && mode.refreshRate <= kMaxRefreshRate) {
        savedDisplayMode.refreshRate = mode.refreshRate;
    }

    if (CreateMainWindow(instance, showCommand) == 0) {
        OnExit();
        return 0;
    }
    POINT cursor = Sys().GetCursorPos();
    Sys().ScreenToClient(hWnd, &cursor);
    mouseX = cursor.x;
    mouseY = cursor.y;
    lastFrameTime = Sys().TimeGetTime();
    return 1;
}

void CAppBase::OnMouseMove(int x, int y) {
    mouseX = x;
    mouseY = y;
}

void CAppBase::OnActivateApp(int active) {
    appActive = active;
}

LRESULT CAppBase::OnUserMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Sys().DefWindowProc(window, message, wParam, lParam);
}

int CAppBase::RemoveTrayIcon() {
    if (trayIconShown == 0) {
        return 0;
    }
    int result = Sys().RemoveTrayIcon(hWnd) ? 1 : 0;
    trayIconShown = 0;
    return result;
}

int RunApplication(CAppBase* app, HINSTANCE instance, int showCommand) {
    if (app->Init(instance, showCommand) == 0) {
        delete app;
        return 0;
    }
    int exitCode = app->RunMessageLoop();
    delete app;
    return exitCode;
}
