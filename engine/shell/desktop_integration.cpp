#include "desktop_integration.h"

#include "autostart_entry.h"
#include "base/format16.h"
#include "dialog_resources.h"
#include "mg_dialog.h"

namespace {

constexpr int kTakeoverAttempts = 51;
constexpr DWORD kTakeoverPauseMs = 100;

const char16_t kCreateQuestion[] = u"您确定要设置为自动启动？\n设置后电脑启动时本程序将自动启动。";
const char16_t kCreateCaption[] = u"确认设置";
const char16_t kCreateDone[] = u"设置成功。";
const char16_t kCreateFailed[] = u"设置失败。";
const char16_t kDeleteQuestion[] = u"您确定要取消自动启动？\n取消后电脑启动时本程序将不会启动。";
const char16_t kDeleteCaption[] = u"确认解除";
const char16_t kDeleteDone[] = u"解除成功。";

// Saved edge: -99999 centres, negative pins at 0, within the margin of the
// far edge stays (partly off-screen), further snaps fully onto the screen.
int ClampSaved(int saved, int screen, int size, int margin) {
    if (saved == kPositionUnset) {
        return (screen - size) / 2;
    }
    if (saved < 0) {
        return 0;
    }
    if (saved >= screen - margin) {
        return screen - size;
    }
    return saved;
}

} // namespace

CDesktopIntegration::CDesktopIntegration(CAppBase& app, const DesktopProfile& profile)
    : app_(app), profile_(profile) {}

int CDesktopIntegration::AcquireSingleInstance() {
    Platform& sys = Sys();
    if (!profile_.takesOverRunningInstance) {
        return sys.AcquireInstanceLock(profile_.semaphore) ? 1 : 0;
    }
    for (int attempt = 0; attempt < kTakeoverAttempts; ++attempt) {
        if (sys.AcquireInstanceLock(profile_.semaphore)) {
            return 1;
        }
        sys.RequestClose(profile_.windowClass, profile_.title);
        sys.Sleep(kTakeoverPauseMs);
    }
    return 0;
}

int CDesktopIntegration::CreateWindow(HINSTANCE /*instance*/) {
    Platform& sys = Sys();
    app_.hWnd =
        sys.CreateWindow(profile_.exStyle, app_.className, profile_.title, WS_POPUP | WS_SYSMENU,
                         CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr);
    if (app_.hWnd == nullptr) {
        return 0;
    }
    app_.SetClientSizeNoRepaint(profile_.clientWidth, profile_.clientHeight);
    sys.ListenForCloseRequests(app_.hWnd, app_.className, profile_.title);
    return 1;
}

void CDesktopIntegration::PlaceWindow() {
    Platform& sys = Sys();
    settings.posX = ClampSaved(settings.posX, sys.GetSystemMetrics(SM_CXSCREEN),
                               profile_.clientWidth, profile_.edgeMarginX);
    settings.posY = ClampSaved(settings.posY, sys.GetSystemMetrics(SM_CYSCREEN),
                               profile_.clientHeight, profile_.edgeMarginY);
}

void CDesktopIntegration::ShowPlaced(int showCommand) {
    Platform& sys = Sys();
    if (settings.topMost != 0) {
        sys.SetWindowPos(app_.hWnd, HWND_TOPMOST, settings.posX, settings.posY, 0, 0, SWP_NOSIZE);
    } else {
        sys.SetWindowPos(app_.hWnd, nullptr, settings.posX, settings.posY, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
    }
    sys.ShowWindow(app_.hWnd, showCommand);
    sys.UpdateWindow(app_.hWnd);
}

void CDesktopIntegration::DragMove() {
    if (settings.fixedPos != 0) {
        return;
    }
    Platform& sys = Sys();
    sys.SendMessage(app_.hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    RECT rect{};
    sys.GetWindowRect(app_.hWnd, &rect);
    settings.posX = rect.left;
    settings.posY = rect.top;
    // Written after every drag, also when the window did not move.
    app_.file.WriteSettingInt(settings.posX, u"PosX");
    app_.file.WriteSettingInt(settings.posY, u"PosY");
}

void CDesktopIntegration::SetTopMost(int on) {
    settings.topMost = on;
    Sys().SetWindowPos(app_.hWnd, on != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE);
}

void CDesktopIntegration::BringToFront() {
    Platform& sys = Sys();
    sys.SetWindowPos(app_.hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (settings.topMost == 0) {
        sys.SetWindowPos(app_.hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
}

int CDesktopIntegration::AddTrayIcon() {
    if (app_.trayIconShown != 0) {
        return 0;
    }
    int result = Sys().AddTrayIcon(app_.hWnd, WM_TRAYNOTIFY, kTrayIconId, profile_.title) ? 1 : 0;
    // Shown as far as the program is concerned, even when the call failed.
    app_.trayIconShown = 1;
    return result;
}

std::u16string CDesktopIntegration::ShortcutPath(int faceNumber) const {
    return AutostartEntryPath(Format16(profile_.shortcutName, {faceNumber}));
}

int CDesktopIntegration::ShortcutExists() const {
    return AutostartEntryExists(ShortcutPath(profile_.faceNumber)) ? 1 : 0;
}

void CDesktopIntegration::ToggleShortcut(int create) {
    Platform& sys = Sys();
    if (create == 0) {
        if (sys.MessageBox(app_.hWnd, kDeleteQuestion, kDeleteCaption, MB_YESNO) != IDYES) {
            return;
        }
        RemoveAutostartEntry(ShortcutPath(profile_.faceNumber));
        sys.MessageBox(app_.hWnd, kDeleteDone, kDeleteCaption, MB_OK);
        return;
    }
    if (sys.MessageBox(app_.hWnd, kCreateQuestion, kCreateCaption, MB_YESNO) != IDYES) {
        return;
    }
    bool written = WriteAutostartEntry(ShortcutPath(profile_.faceNumber), profile_.title,
                                       sys.ExecutablePath());
    if (written && profile_.faceCount > 1) {
        // Only one face starts at login.
        for (int face = 1; face <= profile_.faceCount; ++face) {
            if (face != profile_.faceNumber) {
                RemoveAutostartEntry(ShortcutPath(face));
            }
        }
    }
    sys.MessageBox(app_.hWnd, written ? kCreateDone : kCreateFailed, kCreateCaption, MB_OK);
}

void CDesktopIntegration::ShowAbout() {
    if (FindDialogResource(kAboutDialogId) == nullptr) {
        AddDialogResource(MakeAboutDialog(profile_.title, profile_.aboutButtonText));
    }
    CMGDialog about(kAboutDialogId);
    about.RunModal();
}

void CDesktopIntegration::ToggleSetting(int& value, const char16_t* key) {
    value = value != 0 ? 0 : 1;
    app_.file.WriteSettingInt(value, key);
}

void CDesktopIntegration::ToggleTopMost() {
    SetTopMost(settings.topMost != 0 ? 0 : 1);
    app_.file.WriteSettingInt(settings.topMost, u"TopMost");
}

void CDesktopIntegration::ToggleFixedPos() {
    ToggleSetting(settings.fixedPos, u"FixedPos");
}

void CDesktopIntegration::ToggleTrayIcon() {
    ToggleSetting(settings.trayIcon, u"TrayIcon");
    if (settings.trayIcon != 0) {
        AddTrayIcon();
    } else {
        RemoveTrayIcon();
    }
}

void CDesktopIntegration::ToggleAutostart() {
    ToggleShortcut(ShortcutExists() != 0 ? 0 : 1);
}

bool CDesktopIntegration::OnTrayClick(LPARAM mouseMessage) {
    if (mouseMessage != WM_LBUTTONDOWN && mouseMessage != WM_RBUTTONDOWN) {
        return false;
    }
    BringToFront();
    return mouseMessage == WM_RBUTTONDOWN;
}

void CDesktopIntegration::InvalidateAndUpdate() {
    Sys().InvalidateRect(app_.hWnd, nullptr, false);
    Sys().UpdateWindow(app_.hWnd);
}

DialogTemplate MakeAboutDialog(const char16_t* title, const char16_t* buttonText) {
    DialogTemplate about;
    about.id = kAboutDialogId;
    about.caption = u"版本信息";
    about.fontName = u"MS UI Gothic";
    about.pointSize = 9;
    about.width = 170;
    about.height = 62;
    DialogControl icon;
    icon.kind = ControlKind::Icon;
    icon.x = 14;
    icon.y = 14;
    icon.width = 21;
    icon.height = 20;
    icon.iconId = kAboutIconId;
    DialogControl text;
    text.kind = ControlKind::Static;
    text.text = title;
    text.x = 42;
    text.y = 14;
    text.width = 114;
    text.height = 8;
    DialogControl ok;
    ok.id = IDOK;
    ok.kind = ControlKind::DefaultButton;
    ok.text = buttonText;
    ok.x = 60;
    ok.y = 44;
    ok.width = 50;
    ok.height = 14;
    about.controls = {icon, text, ok};
    return about;
}
