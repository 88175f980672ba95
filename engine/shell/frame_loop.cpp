// The message loop and frame pacing: messages first, then on every idle
// pass a frame once frameInterval has passed since the last one started.
#include "accelerator_table.h"
#include "app_base.h"
#include "base/format16.h"

bool CAppBase::TranslateAccelerator(const MSG& message) {
    if (message.hwnd != hWnd ||
        (message.message != WM_SYSKEYDOWN && message.message != WM_KEYDOWN)) {
        return false;
    }
    bool alt = message.message == WM_SYSKEYDOWN;
    for (const Accelerator& entry : kAcceleratorTable) {
        if (static_cast<WPARAM>(entry.virtualKey) == message.wParam && entry.alt == alt) {
            // High word 1 marks a command that came from an accelerator.
            Sys().SendMessage(hWnd, WM_COMMAND, MakeWParam(entry.command, 1), 0);
            return true;
        }
    }
    return false;
}

int CAppBase::RunMessageLoop() {
    Platform& sys = Sys();
    MSG message;
    for (;;) {
        if (sys.PeekMessage(&message, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                break;
            }
            if (TranslateAccelerator(message)) {
                continue;
            }
            sys.TranslateMessage(message);
            sys.DispatchMessage(message);
            continue;
        }
        if (paused == 0) {
            Tick();
        }
        sys.WaitIdle(lastFrameTime + frameInterval);
    }
    OnExit();
    SwitchFullscreen(false);
    return static_cast<int>(message.wParam);
}

void CAppBase::Tick() {
    Platform& sys = Sys();
    DWORD now = sys.TimeGetTime();
    DWORD elapsed = now - lastFrameTime; // unsigned: the counter's wrap is harmless
    if (fastForwardDisabled == 0) {
        if (sys.IsKeyDown(VK_CONTROL)) {
            elapsed = frameInterval;
            normalSpeed = 0;
        } else {
            normalSpeed = 1;
        }
    }
    if (elapsed >= frameInterval) {
        ++framesCounted_;
        // Due frameInterval after this frame started: lateness is not caught up.
        lastFrameTime = now;
        if (BeginFrame() != 0) {
            if (controlManager == nullptr || controlManager->Update() == 0) {
                OnFrame();
            }
        }
    }
    if (!fpsWindowStarted_) {
        fpsWindowStarted_ = true;
        fpsWindowStart_ = now;
    }
    if (now - fpsWindowStart_ >= 1000) {
        ShowFps(title, framesCounted_);
        fps = framesCounted_;
        fpsWindowStart_ = now;
        framesCounted_ = 0;
    }
}

void CAppBase::ShowFps(const char16_t* titleText, int frames) {
    if (showFpsInTitle == 0) {
        return;
    }
    char16_t text[kTitleUnits];
    Format16To(text, u"%s - %d FPS", {std::u16string_view(titleText), frames});
    Sys().SetWindowText(hWnd, text);
}
