// Client resizing, centring, the full-screen switch and cursor confinement.
#include "app_base.h"
#include <algorithm>

namespace {
constexpr DWORD kSwitchSettleMs = 250;
}

int CAppBase::SetClientSize(int width, int height) {
    return ResizeClient(width, height, true);
}

int CAppBase::SetClientSizeNoRepaint(int width, int height) {
    return ResizeClient(width, height, false);
}

int CAppBase::ResizeClient(int width, int height, bool repaint) {
    Platform& sys = Sys();
    clientWidth = width;
    clientHeight = height;
    RECT window{};
    RECT client{};
    sys.GetWindowRect(hWnd, &window);
    sys.GetClientRect(hWnd, &client);
    // The frame is added to the requested client size; 0 keeps the outer size.
    int outerWidth = width == 0 ? window.Width() : width + (window.Width() - client.Width());
    int outerHeight = height == 0 ? window.Height() : height + (window.Height() - client.Height());
    int workWidth = sys.GetSystemMetrics(SM_CXFULLSCREEN);
    int workHeight = sys.GetSystemMetrics(SM_CYFULLSCREEN);
    int left = window.left;
    int top = window.top;
    if (left + outerWidth > workWidth) {
        left = std::max(0, workWidth - outerWidth);
    }
    if (top + outerHeight > workHeight) {
        top = std::max(0, workHeight - outerHeight);
    }
    sys.MoveWindow(hWnd, left, top, outerWidth, outerHeight, repaint);
    return left + outerWidth <= workWidth && top + outerHeight <= workHeight ? 1 : 0;
}

void CAppBase::CentreWindow() {
    Platform& sys = Sys();
    RECT window{};
    sys.GetWindowRect(hWnd, &window);
    // A window larger than the work area is pinned at 0.
    int x = std::max(0, (sys.GetSystemMetrics(SM_CXFULLSCREEN) - window.Width()) / 2);
    int y = std::max(0, (sys.GetSystemMetrics(SM_CYFULLSCREEN) - window.Height()) / 2);
    sys.MoveWindow(hWnd, x, y, window.Width(), window.Height(), true);
}

void CAppBase::SwitchFullscreen(bool on) {
    Platform& sys = Sys();
    // The desktop's display mode is never changed on this platform, so
    // "full screen" is the window resized to the client size at the origin;
    // displayModeChanged records that the windowed state must come back.
    if (on) {
        if (displayModeChanged != 0) {
            return;
        }
        sys.SetWindowLongPtr(hWnd, GWL_STYLE, WS_POPUP | WS_VISIBLE);
        sys.SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, clientWidth, clientHeight, SWP_FRAMECHANGED);
        sys.Sleep(kSwitchSettleMs);
        sys.MoveWindow(hWnd, 0, 0, clientWidth, clientHeight, true);
        displayModeChanged = 1;
        sys.SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    if (displayModeChanged == 0) {
        return;
    }
    displayModeChanged = 0;
    sys.SetWindowLongPtr(hWnd, GWL_STYLE, WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    sys.SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    SetClientSize(clientWidth, clientHeight);
    CentreWindow();
    sys.Sleep(kSwitchSettleMs);
    sys.SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CAppBase::ConfineCursor() {
    Platform& sys = Sys();
    RECT client{};
    sys.GetClientRect(hWnd, &client);
    POINT topLeft{client.left, client.top};
    POINT bottomRight{client.right, client.bottom};
    sys.ClientToScreen(hWnd, &topLeft);
    sys.ClientToScreen(hWnd, &bottomRight);
    RECT screen{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    sys.ClipCursor(&screen);
}
