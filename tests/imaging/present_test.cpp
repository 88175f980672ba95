#include "imaging/surface.h"
#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

namespace {

class Presentation : public testing::Test {
protected:
    void SetUp() override {
        InstallPlatform(&platform);
        WindowClassInfo info;
        info.className = u"LumiTest";
        info.windowProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            return Sys().DefWindowProc(w, m, wp, lp);
        };
        platform.RegisterClass(info);
        window = platform.CreateWindow(0, u"LumiTest", u"test", 0, 0, 0, 3, 2, nullptr);
        CSurface::SetMainWindow(window);
        ASSERT_EQ(surface.Create(3, 2), 1);
        surface.Row(0)[0] = 0x80FF8000;
        surface.Row(1)[2] = 0x00FFFFFF;
        surface.Row(1)[1] = 0xFF102030;
    }
    void TearDown() override {
        CSurface::SetMainWindow(nullptr);
        InstallPlatform(nullptr);
    }

    HeadlessPlatform platform;
    HWND window = nullptr;
    CSurface surface;
};

TEST_F(Presentation, LayeredWindowGetsThePremultipliedBuffer) {
    CSurface::Premultiply(&surface);
    CSurface::PresentLayered(&surface, 40, 50);
    ASSERT_EQ(platform.Frames().size(), 1u);
    const auto& frame = platform.Frames().back();
    EXPECT_TRUE(frame.layered);
    EXPECT_EQ(frame.window, window);
    EXPECT_EQ(frame.at, (POINT{40, 50}));
    ASSERT_EQ(frame.width, 3);
    ASSERT_EQ(frame.height, 2);
    EXPECT_EQ(frame.PixelAt(0, 0), 0x80804000u);
    EXPECT_EQ(frame.PixelAt(2, 1), 0x00000000u);
    EXPECT_EQ(frame.PixelAt(1, 1), 0xFF102030u);
}

TEST_F(Presentation, PlainWindowGetsTheBufferAsItIs) {
    HDC dc = platform.BeginPaint(window);
    CSurface::PresentPlain(&surface, dc);
    platform.EndPaint(window, dc);
    ASSERT_EQ(platform.Frames().size(), 1u);
    const auto& frame = platform.Frames().back();
    EXPECT_FALSE(frame.layered);
    EXPECT_EQ(frame.at, (POINT{0, 0}));
    EXPECT_EQ(frame.PixelAt(0, 0), 0x80FF8000u);
    EXPECT_EQ(frame.PixelAt(2, 1), 0x00FFFFFFu);
}

} // namespace
