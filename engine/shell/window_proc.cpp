// The routing table of the main window's messages to the hooks. Mouse and
// key input is offered to the control manager first.
#include "app_base.h"

LRESULT CAppBase::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Platform& sys = Sys();
    const int x = SignedLoWord(lParam);
    const int y = SignedHiWord(lParam);
    switch (message) {
    case WM_DESTROY:
        sys.PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE: {
        HWND other = reinterpret_cast<HWND>(lParam);
        WORD state = LoWord(wParam);
        if (clipCursor != 0 && (other == nullptr || other == hWnd) &&
            (state == WA_ACTIVE || state == WA_CLICKACTIVE)) {
            ConfineCursor();
        }
        OnActivate(wParam, lParam);
        return 0;
    }
    case WM_PAINT: {
        HDC dc = sys.BeginPaint(window);
        OnPaint(dc);
        sys.EndPaint(window, dc);
        return 0;
    }
    case WM_CLOSE:
        if (OnClose() == 0) {
            return 0;
        }
        RemoveTrayIcon();
        return sys.DefWindowProc(window, message, wParam, lParam);
    case WM_QUERYENDSESSION:
        RemoveTrayIcon();
        return OnQueryEndSession();
    case WM_ACTIVATEAPP:
        OnActivateApp(static_cast<int>(wParam));
        return 0;
    case WM_COPYDATA:
        OnCopyData(wParam, lParam);
        return 0;
    case WM_CONTEXTMENU:
        // lParam -1: opened from the keyboard, so at the pointer.
        if (static_cast<std::int32_t>(lParam) == -1) {
            POINT cursor = sys.GetCursorPos();
            OnContextMenu(cursor.x, cursor.y);
        } else {
            OnContextMenu(x, y);
        }
        return 0;
    case WM_KEYDOWN:
        if (controlManager == nullptr || controlManager->OnKeyDown(static_cast<int>(wParam)) == 0) {
            OnKeyDown(static_cast<int>(wParam));
        }
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_RETURN && fullscreenSwitchDisabled == 0) {
            fullscreenWanted = fullscreenWanted == 0 ? 1 : 0;
            SwitchFullscreen(fullscreenWanted != 0);
            return 0;
        }
        return sys.DefWindowProc(window, message, wParam, lParam);
    case WM_COMMAND:
        if (OnCommand(wParam, lParam) != 0) {
            return 0;
        }
        return sys.DefWindowProc(window, message, wParam, lParam);
    case WM_SYSCOMMAND:
        // The whole wParam is compared: codes with low bits set are not these.
        if (wParam == SC_SCREENSAVE && OnScreenSave() != 0) {
            return 1;
        }
        if (wParam == SC_CLOSE && OnSysClose() != 0) {
            return 1;
        }
        return sys.DefWindowProc(window, message, wParam, lParam);
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_MOUSEMOVE:
        if (controlManager == nullptr || controlManager->OnMouseMove(x, y) == 0) {
            OnMouseMove(x, y);
        }
        return 0;
    case WM_LBUTTONDOWN:
        if (controlManager == nullptr || controlManager->OnLButtonDown(x, y) == 0) {
            OnLButtonDown(x, y);
        }
        return 0;
    case WM_LBUTTONUP:
        if (controlManager == nullptr || controlManager->OnLButtonUp(x, y) == 0) {
            OnLButtonUp(x, y);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        // A double click the manager does not take is offered as a press.
        if (controlManager != nullptr && (controlManager->OnLButtonDblClk(x, y) != 0 ||
                                          controlManager->OnLButtonDown(x, y) != 0)) {
            return 0;
        }
        OnLButtonDblClk(x, y);
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(x, y);
        return 0;
    case WM_RBUTTONUP:
        if (OnRButtonUp(x, y) != 0) {
            return 0;
        }
        return sys.DefWindowProc(window, message, wParam, lParam);
    case WM_RBUTTONDBLCLK:
        OnRButtonDblClk(x, y);
        return 0;
    case WM_MOUSEWHEEL: {
        int delta = static_cast<std::int16_t>(HiWord(wParam));
        int keyState = static_cast<int>(wParam & 0xFF);
        if (controlManager == nullptr || controlManager->OnMouseWheel(delta, keyState) == 0) {
            OnMouseWheel(delta, keyState);
        }
        return 0;
    }
    case WM_DROPFILES:
        OnDropFiles(wParam);
        return 0;
    case WM_TRAYNOTIFY:
        OnTrayNotify(wParam, lParam);
        return 0;
    default:
        if (message >= kUserMessageFirst && message <= kUserMessageLast) {
            return OnUserMessage(window, message, wParam, lParam);
        }
        return sys.DefWindowProc(window, message, wParam, lParam);
    }
}
