// A headless system and an application that records which hooks ran, at
// which virtual time.
#pragma once

#include "platform/headless/headless_platform.h"
#include "shell/app_base.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

struct HookCall {
    std::string hook;
    std::uint64_t at;
    int a = 0;
    int b = 0;
    bool operator==(const HookCall&) const = default;
};

class RecordingApp : public CAppBase {
public:
    explicit RecordingApp(HeadlessPlatform& platform) : platform_(platform) {}

    std::vector<HookCall> calls;
    int beginFrameResult = 1;
    int closeResult = 1;
    int sysCloseResult = 0;
    int createResult = 1;
    int* destroyed = nullptr;

    ~RecordingApp() override {
        if (destroyed != nullptr) {
            ++*destroyed;
        }
    }
    int CreateMainWindow(HINSTANCE instance, int showCommand) override {
        return createResult == 0 ? 0 : CAppBase::CreateMainWindow(instance, showCommand);
    }
    void OnExit() override { Record("OnExit"); }
    int BeginFrame() override {
        Record("BeginFrame");
        return beginFrameResult;
    }
    void OnFrame() override { Record("OnFrame"); }
    void ShowFps(const char16_t* titleText, int frames) override {
        Record("ShowFps", frames);
        CAppBase::ShowFps(titleText, frames);
    }
    void OnLButtonDown(int x, int y) override { Record("OnLButtonDown", x, y); }
    void OnLButtonUp(int x, int y) override { Record("OnLButtonUp", x, y); }
    void OnLButtonDblClk(int x, int y) override { Record("OnLButtonDblClk", x, y); }
    void OnRButtonDown(int x, int y) override { Record("OnRButtonDown", x, y); }
    void OnMouseWheel(int delta, int keyState) override { Record("OnMouseWheel", delta, keyState); }
    void OnKeyDown(int key) override { Record("OnKeyDown", key); }
    void OnContextMenu(int x, int y) override { Record("OnContextMenu", x, y); }
    int OnCommand(WPARAM wParam, LPARAM) override {
        Record("OnCommand", LoWord(wParam), HiWord(wParam));
        return 1;
    }
    int OnClose() override {
        Record("OnClose");
        return closeResult;
    }
    int OnSysClose() override {
        Record("OnSysClose");
        return sysCloseResult;
    }
    void OnTimer(WPARAM id) override { Record("OnTimer", static_cast<int>(id)); }
    void OnTrayNotify(WPARAM wParam, LPARAM lParam) override {
        Record("OnTrayNotify", static_cast<int>(wParam), static_cast<int>(lParam));
    }
    LRESULT OnUserMessage(HWND, UINT message, WPARAM, LPARAM) override {
        Record("OnUserMessage", static_cast<int>(message));
        return 7;
    }

    std::vector<std::string> HookNames() const {
        std::vector<std::string> names;
        for (const HookCall& call : calls) {
            names.push_back(call.hook);
        }
        return names;
    }
    std::vector<std::uint64_t> TimesOf(const std::string& hook) const {
        std::vector<std::uint64_t> times;
        for (const HookCall& call : calls) {
            if (call.hook == hook) {
                times.push_back(call.at);
            }
        }
        return times;
    }

private:
    void Record(const char* hook, int a = 0, int b = 0) {
        calls.push_back(HookCall{hook, platform_.Elapsed(), a, b});
    }
    HeadlessPlatform& platform_;
};

class ShellTest : public ::testing::Test {
protected:
    ShellTest() { InstallPlatform(&platform); }
    ~ShellTest() override { InstallPlatform(nullptr); }

    // Initialises the application; its window is the shell's default one.
    RecordingApp& StartApp() {
        app = std::make_unique<RecordingApp>(platform);
        EXPECT_EQ(app->Init(nullptr, SW_SHOW), 1);
        return *app;
    }
    // Runs the loop until the virtual clock reaches `until`.
    int RunUntil(std::uint64_t until) {
        platform.SetRunLimit(until);
        return app->RunMessageLoop();
    }
    void Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        platform.PostMessage(app->hWnd, message, wParam, lParam);
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return platform.SendMessage(app->hWnd, message, wParam, lParam);
    }

    HeadlessPlatform platform;
    std::unique_ptr<RecordingApp> app;
};
