#include "clock_app.h"

#include "base/process_random.h"
#include "clock_menu.h"
#include "config_dialog.h"
#include "data/profile.h"
#include "shell/dialog_resources.h"

#include <algorithm>
#include <iterator>

namespace {

// The clock's scene holds no buttons.
const ButtonSheetProfile kNoButtons{};

} // namespace

inline namespace clock_program {

CApp::CApp(const ClockFace& clockFace)
    : face(clockFace), profile(ClockDesktopProfile(clockFace)), desktop(*this, profile),
      digital24(clockFace.digital24Default), scheduler(alarm, jihou, file) {
    CopyBounded(className, profile.windowClass);
    iconId = kTrayIconId;
}

CApp::~CApp() = default;

int CApp::CreateMainWindow(HINSTANCE instance, int showCommand) {
    // A newly started clock closes the running one and takes its place.
    if (desktop.AcquireSingleInstance() == 0) {
        return 0;
    }
    SeedRandom(Sys().TimeGetTime());
    if (desktop.CreateWindow(instance) == 0) {
        return 0;
    }
    file.Init(hWnd, instance);
    CSurface::ProbeBlendLoops();
    CSurface::SetMainWindow(hWnd);
    AddDialogResource(MakeConfigDialog());

    alarm.Load(file, face.storeName);
    alarm.RecomputeMinuteOfDay();

    desktop.settings.Load(file);
    jihou = GetPrivateProfileInt(file.AppName(), u"Jihou", kChimeRandom, file.SettingsIni());
    if (face.digital24Switchable) {
        digital24 = GetPrivateProfileInt(file.AppName(), u"Digital24", face.digital24Default,
                                         file.SettingsIni());
    }
    if (desktop.settings.trayIcon != 0) {
        desktop.AddTrayIcon();
    }
    desktop.PlaceWindow();

    backBuffer.reset(CSurface::CreateBlank(face.width, face.height));
    if (backBuffer == nullptr) {
        return 0;
    }
    sceneManager = std::make_unique<C2DManager>(kNoButtons);
    controlManager = sceneManager.get();
    images.Load(face);

    OnFrame();
    desktop.ShowPlaced(showCommand);
    showFpsInTitle = 0;
    return 1;
}

void CApp::OnExit() {
    scheduler.StopSound();
    images = FaceImages{};
    backBuffer.reset();
    controlManager = nullptr;
    sceneManager.reset();
}

void CApp::OnPaint(HDC dc) {
    if (backBuffer != nullptr) {
        CSurface::PresentPlain(backBuffer.get(), dc);
    }
}

void CApp::OnLButtonDown(int /*x*/, int /*y*/) {
    desktop.DragMove();
}

void CApp::OnFrame() {
    now = Sys().GetLocalTime();
    if (now.second != lastSecond) {
        redrawRequested = 1;
        if (now.minute != lastMinute) {
            lastMinute = now.minute;
            scheduler.NoteMinute(now);
        }
        lastSecond = now.second;
    }
    // Every frame: the alarm minute is compared until it rings or is
    // suppressed.
    scheduler.CheckAndRing(now);
    if (redrawRequested != 0) {
        redrawRequested = 0;
        ComposeAndPresent();
    }
}

void CApp::ComposeAndPresent() {
    if (backBuffer == nullptr) {
        return;
    }
    ComposeFace(face, images, now, digital24, backBuffer.get());
    sceneManager->Draw(backBuffer.get());
    // Premultiplying changes the buffer, so each frame is composed afresh.
    CSurface::Premultiply(backBuffer.get());
    RECT rect{};
    Sys().GetWindowRect(hWnd, &rect);
    CSurface::PresentLayered(backBuffer.get(), rect.left, rect.top);
    desktop.InvalidateAndUpdate();
}

void CApp::OnContextMenu(int x, int y) {
    ClockMenuState state;
    state.alarmEnabled = alarm.enable != 0;
    state.offer24Hour = face.digital24Switchable;
    state.digital24 = digital24 != 0;
    state.topMost = desktop.settings.topMost != 0;
    state.fixedPos = desktop.settings.fixedPos != 0;
    state.trayIcon = desktop.settings.trayIcon != 0;
    state.autostartExists = desktop.ShortcutExists() != 0;
    Sys().TrackPopupMenu(BuildClockMenu(state), POINT{x, y}, hWnd);
}

int CApp::OnCommand(WPARAM wParam, LPARAM /*lParam*/) {
    switch (LoWord(wParam)) {
    case kCommandAbout:
        desktop.ShowAbout();
        return 1;
    case kCommandExit:
        Sys().PostMessage(hWnd, WM_CLOSE, 0, 0);
        return 1;
    case kCommandSettings:
        OpenConfigDialog();
        return 1;
    case kCommandTopMost:
        desktop.ToggleTopMost();
        return 1;
    case kCommandFixedPos:
        desktop.ToggleFixedPos();
        return 1;
    case kCommandAlarmEnable:
        alarm.enable = alarm.enable != 0 ? 0 : 1;
        alarm.RecomputeMinuteOfDay();
        file.WriteSettingInt(alarm.enable, u"AlermEnable0");
        return 1;
    case kCommand24Hour:
        desktop.ToggleSetting(digital24, u"Digital24");
        redrawRequested = 1;
        return 1;
    case kCommandTrayIcon:
        desktop.ToggleTrayIcon();
        return 1;
    case kCommandAutostart:
        desktop.ToggleAutostart();
        return 1;
    default:
        return 0;
    }
}

void CApp::OnTrayNotify(WPARAM /*wParam*/, LPARAM lParam) {
    if (desktop.OnTrayClick(lParam)) {
        POINT cursor = Sys().GetCursorPos();
        OnContextMenu(cursor.x, cursor.y);
    }
}

void CApp::OpenConfigDialog() {
    CConfigDlg dialog;
    dialog.enable = alarm.enable;
    dialog.hour = alarm.hour;
    dialog.minute = alarm.minute;
    dialog.repeat = alarm.repeat;
    std::copy(std::begin(alarm.weekDays), std::end(alarm.weekDays), dialog.weekDays);
    dialog.excludeSunday = alarm.excludeSunday;
    dialog.snooze = alarm.snooze;
    dialog.snoozeInterval = alarm.snoozeInterval;
    dialog.sound = alarm.sound;
    dialog.soundFile = alarm.soundFile;
    dialog.chime = jihou;
    if (dialog.RunModal() != IDOK) {
        return;
    }
    alarm.enable = dialog.enable;
    alarm.hour = dialog.hour;
    alarm.minute = dialog.minute;
    alarm.repeat = dialog.repeat;
    std::copy(std::begin(dialog.weekDays), std::end(dialog.weekDays), alarm.weekDays);
    alarm.excludeSunday = dialog.excludeSunday;
    alarm.snooze = dialog.snooze;
    alarm.snoozeInterval = dialog.snoozeInterval;
    alarm.sound = dialog.sound;
    alarm.soundFile = dialog.soundFile;
    jihou = dialog.chime;
    alarm.type = 2;
    alarm.Save(file, face.storeName);
    file.WriteSettingInt(jihou, u"Jihou");
    alarm.RecomputeMinuteOfDay();
}

} // namespace clock_program

CAppBase* CreateClockApp(int faceNumber) {
    const ClockFace* clockFace = FindClockFace(faceNumber);
    return clockFace != nullptr ? new CApp(*clockFace) : nullptr;
}
