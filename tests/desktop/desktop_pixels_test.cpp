// What windows show of the engine's bottom-up pictures, and layered shapes.
#include "platform/desktop/desktop_pixels.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// 3 x 2, rows bottom-up: the first stored row is the picture's last.
const std::vector<std::uint32_t> kPixels = {
    0x00000000, 0x80402000, 0xFF00FF00, // bottom row
    0xFFFF0000, 0x7F7F7F7F, 0x01010101, // top row
};
const PixelView kView{kPixels.data(), 3, 2};

TEST(DesktopPixels, OpaqueImageIsTopDownWithAlphaIgnored) {
    QImage image = OpaqueImage(kView);
    EXPECT_EQ(image.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(1, 0), 0xFF7F7F7Fu);
    EXPECT_EQ(image.pixel(0, 1), 0xFF000000u);
    EXPECT_EQ(image.pixel(2, 1), 0xFF00FF00u);
}

TEST(DesktopPixels, TranslucentImageKeepsPremultipliedPixels) {
    QImage image = TranslucentImage(kView);
    ASSERT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    auto row = [&](int y) {
        return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    };
    EXPECT_EQ(row(0)[1], 0x7F7F7F7Fu);
    EXPECT_EQ(row(1)[1], 0x80402000u);
}

TEST(DesktopPixels, FallbackDrawsStraightColourOpaqueOrNothing) {
    QImage image = FallbackImage(kView);
    auto row = [&](int y) {
        return reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    };
    // Alpha 0x80: red 0x40 -> (0x40 * 255 + 0x40) / 0x80 = 0x80, green 0x20 -> 0x40.
    EXPECT_EQ(row(1)[1], 0xFF804000u);
    EXPECT_EQ(row(1)[2], 0xFF00FF00u);
    // Below half opacity the pixel is left out (it is outside the shape).
    EXPECT_EQ(row(0)[1], 0u);
    EXPECT_EQ(row(0)[2], 0u);
}

TEST(DesktopPixels, ShapeFollowsTheThresholds) {
    std::vector<std::uint8_t> translucent = ShapeOf(kView, kShapeAlphaTranslucent);
    std::vector<std::uint8_t> opaque = ShapeOf(kView, kShapeAlphaOpaque);
    EXPECT_EQ(translucent, (std::vector<std::uint8_t>{1, 1, 1, 0, 1, 1}));
    EXPECT_EQ(opaque, (std::vector<std::uint8_t>{1, 0, 0, 0, 1, 1}));
}

TEST(DesktopPixels, RegionCoversExactlyTheShape) {
    std::vector<std::uint8_t> shape = {
        1, 1, 0, 1, //
        0, 0, 0, 0, //
        0, 1, 1, 1, //
    };
    QRegion region = RegionOf(shape, 4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(region.contains(QPoint(x, y)), shape[y * 4 + x] != 0) << x << "," << y;
        }
    }
    EXPECT_TRUE(RegionOf(std::vector<std::uint8_t>(4, 0), 2, 2).isEmpty());
}

} // namespace
