#include "imaging/surface.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Surface, BlankSurfaceIsZeroedWithDefaults) {
    std::unique_ptr<CSurface> surface(CSurface::CreateBlank(3, 2));
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width, 3);
    EXPECT_EQ(surface->height, 2);
    EXPECT_EQ(surface->opacity, 255);
    EXPECT_EQ(surface->colorKey, 0u);
    EXPECT_EQ(surface->angle, 0.0f);
    EXPECT_EQ(surface->hasAlpha, 0);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(surface->bits[k], 0u);
    }
}

TEST(Surface, UnusableSizesGiveNoSurface) {
    EXPECT_EQ(CSurface::CreateBlank(0, 5), nullptr);
    EXPECT_EQ(CSurface::CreateBlank(5, -1), nullptr);
    EXPECT_EQ(CSurface::CreateBlank(65536, 1), nullptr);
    EXPECT_EQ(CSurface::CreateBlank(8192, 8192), nullptr);
}

TEST(Surface, ReleaseRestoresTheDefaultsAndCanRepeat) {
    CSurface surface;
    ASSERT_EQ(surface.Create(2, 2), 1);
    surface.colorKey = 5;
    surface.opacity = 9;
    surface.angle = 1.5f;
    surface.SetOpaque();
    surface.Release();
    surface.Release();
    EXPECT_EQ(surface.bits, nullptr);
    EXPECT_EQ(surface.width, 0);
    EXPECT_EQ(surface.height, 0);
    EXPECT_EQ(surface.colorKey, 0u);
    EXPECT_EQ(surface.opacity, 255);
    EXPECT_EQ(surface.angle, 0.0f);
    EXPECT_EQ(surface.hasAlpha, 0);
    EXPECT_EQ(surface.SetOpaque(), 0);
    EXPECT_EQ(surface.GetPixel(0, 0), 0u);
}

TEST(Surface, GetPixelUsesDisplayCoordinates) {
    CSurface surface;
    ASSERT_EQ(surface.Create(2, 3), 1);
    for (int k = 0; k < 6; ++k) {
        surface.bits[k] = 0x100u + std::uint32_t(k);
    }
    EXPECT_EQ(surface.GetPixel(0, 0), 0x104u); // first pixel of the last memory row
    EXPECT_EQ(surface.GetPixel(1, 2), 0x101u);
    EXPECT_EQ(surface.GetPixel(-1, 0), 0u);
    EXPECT_EQ(surface.GetPixel(2, 0), 0u);
    EXPECT_EQ(surface.GetPixel(0, 3), 0u);
    EXPECT_EQ(surface.GetPixel(0, -1), 0u);
}

TEST(Surface, OpaqueAndAlphaPlaneKeepTheColour) {
    CSurface surface;
    ASSERT_EQ(surface.Create(2, 1), 1);
    surface.bits[0] = 0x12345678;
    surface.bits[1] = 0x00ABCDEF;
    ASSERT_EQ(surface.SetOpaque(), 1);
    EXPECT_EQ(surface.bits[0], 0xFF345678u);
    EXPECT_EQ(surface.bits[1], 0xFFABCDEFu);
    EXPECT_EQ(surface.hasAlpha, 1);
    const std::uint8_t plane[2] = {0x40, 0x00};
    surface.hasAlpha = 0;
    ASSERT_EQ(surface.ApplyAlphaPlane(plane), 1);
    EXPECT_EQ(surface.bits[0], 0x40345678u);
    EXPECT_EQ(surface.bits[1], 0x00ABCDEFu);
    EXPECT_EQ(surface.hasAlpha, 1);
}

TEST(Surface, OnlyOneMemoryDcAtATime) {
    CSurface surface;
    ASSERT_EQ(surface.Create(2, 2), 1);
    HDC first = surface.GetMemoryDC();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(surface.dcHeld, 1);
    EXPECT_EQ(surface.GetMemoryDC(), nullptr);
    surface.Release();
    EXPECT_EQ(surface.dcHeld, 0);
    ASSERT_EQ(surface.Create(2, 2), 1);
    EXPECT_NE(surface.GetMemoryDC(), nullptr);
}

} // namespace
