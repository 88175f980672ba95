// A headless system whose program folder holds a small button sheet, and
// an application that records the manager's notifications.
#pragma once

#include "base/text16.h"
#include "platform/headless/headless_platform.h"
#include "scene/sprite_manager.h"
#include "shell/app_base.h"

#include <gtest/gtest.h>

#include <fstream>
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

// A 32-bit TGA, rows stored bottom first, whose pixel (x, y) is colour(x, y).
template <typename Colour>
void WriteTga(const std::u16string& path, int width, int height, Colour colour) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2; // uncompressed true colour
    bytes[12] = static_cast<std::uint8_t>(width);
    bytes[13] = static_cast<std::uint8_t>(width >> 8);
    bytes[14] = static_cast<std::uint8_t>(height);
    bytes[15] = static_cast<std::uint8_t>(height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x08; // 8 alpha bits
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = colour(x, y);
            for (int k = 0; k < 4; ++k) {
                bytes.push_back(static_cast<std::uint8_t>(p >> (8 * k)));
            }
        }
    }
    std::ofstream(Utf16ToUtf8(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

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
