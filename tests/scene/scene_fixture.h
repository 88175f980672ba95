// A headless system whose program folder holds a small button sheet, and
// an application that records the manager's notifications.
#pragma once

#include "base/text16.h"
#include "platform/headless/headless_platform.h"
#include "scene/sprite_manager.h"
#include "shell/app_base.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <vector>

struct ControlEvent {
    int id;
    int code;
    bool operator==(const ControlEvent&) const = default;
};

class EventApp : public CAppBase {
public:
    std::vector<ControlEvent> events;
    void OnControlEvent(CSprite*, int id, int code, int, CControlManager*) override {
        events.push_back(ControlEvent{id, code});
    }
};

class SceneTest : public ::testing::Test {
protected:
    SceneTest() {
        InstallPlatform(&platform);
        app = std::make_unique<EventApp>();
        // The monthly sheet: three 32-pixel columns, rows of 24 (normal,
        // hover, pressed); each cell's colour tells which one was drawn.
        WriteTga(std::u16string(app->file.ProgramFolder()) + u"sheet.tga", 96, 72,
                 [](int x, int y) { return 0xFF000000u | (x / 32) << 16 | (y / 24) << 14 | 0x11; });
    }
    ~SceneTest() override {
        app.reset();
        InstallPlatform(nullptr);
    }
    HeadlessPlatform platform;
    std::unique_ptr<EventApp> app;
    ButtonSheetProfile monthly{u"sheet.tga", 32, 24, {{0, 0}, {0, 24}, {0, 48}}, 1000, 1009};
};
