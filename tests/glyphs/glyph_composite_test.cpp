// Blending glyph coverage into pixels: the formula on fixed values, and
// whole glyphs of FakeGlyphs (a 6 x 8 box whose corner lands at pen + (1, 2))
// with the shadow, the corner test and clipping.
#include "fake_glyphs.h"
#include "imaging/glyph_composite.h"
#include "imaging/mg_font.h"

#include <gtest/gtest.h>

namespace {

TEST(CompositeCoverage, FollowsTheFormula) {
    struct Case {
        std::uint32_t pixel;
        std::uint32_t colour;
        std::uint32_t e;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {0x80123456, 0xFFFFFF, 0, 0x80123456},   // no coverage keeps the pixel
        {0x00FFFFFF, 0x102030, 16, 0xFE102030},  // full coverage takes the colour
        {0xFF000000, 0xFFFFFF, 8, 0xFF7F7F7F},   // half way, truncated; opaque stays
        {0x40FFFFFF, 0x000000, 1, 0x4BEFEFEF},   // 255*15>>4 = 239; 64 + (191*15>>8)
        {0x40FFFFFF, 0xAA000000, 1, 0x4BEFEFEF}, // the colour's alpha byte is unused
        {0x00000000, 0x00FF00, 15, 0xEE00EF00},  // (255*239)>>8 = 238
        {0xFFFFFFFF, 0x000000, 16, 0xFF000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompositeCoverage(c.pixel, c.colour, c.e), c.expected)
            << std::hex << c.pixel << " " << c.colour << " e=" << std::dec << c.e;
    }
}

class GlyphDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.glyphs.level = 16;
        ASSERT_EQ(font.Create(u"ＭＳ ゴシック", 4, 16, FW_BOLD), 1);
    }
    void Fill(std::uint32_t pixel) {
        for (int y = 0; y < surface.height; ++y) {
            std::fill(surface.Row(y), surface.Row(y) + surface.width, pixel);
        }
    }

    FakeGlyphsScope fake;
    CMGFont font;
    CSurface surface;
};

TEST_F(GlyphDrawTest, ShadowOnOpaqueWhiteIsOpaqueBlack) {
    ASSERT_EQ(surface.Create(40, 30), 1);
    Fill(0xFFFFFFFF);
    EXPECT_EQ(font.DrawText(&surface, nullptr, 0, 0, 0xFFFF4040, u"A"), 1);
    // Glyph box (1, 2)-(7, 10), shadow box (2, 3)-(8, 11), right ends open.
    EXPECT_EQ(surface.GetPixel(1, 2), 0xFFFF4040u);
    EXPECT_EQ(surface.GetPixel(6, 9), 0xFFFF4040u); // the glyph covers its shadow
    EXPECT_EQ(surface.GetPixel(7, 3), 0xFF000000u);
    EXPECT_EQ(surface.GetPixel(7, 10), 0xFF000000u);
    EXPECT_EQ(surface.GetPixel(1, 10), 0xFFFFFFFFu);
    EXPECT_EQ(surface.GetPixel(8, 3), 0xFFFFFFFFu);

    Fill(0xFFFFFFFF);
    font.shadowColour = 0x0000FF;
    font.DrawText(&surface, nullptr, 0, 0, 0xFFFF4040, u"A");
    EXPECT_EQ(surface.GetPixel(7, 3), 0xFF0000FFu);

    Fill(0xFFFFFFFF);
    font.shadow = 0;
    font.DrawText(&surface, nullptr, 0, 0, 0xFFFF4040, u"A");
    EXPECT_EQ(surface.GetPixel(7, 3), 0xFFFFFFFFu);
    EXPECT_EQ(surface.GetPixel(1, 2), 0xFFFF4040u);
}

TEST_F(GlyphDrawTest, PartialCoverageRaisesAlphaOverTheShadow) {
    fake.glyphs.level = 8;
    ASSERT_EQ(font.Create(u"ＭＳ ゴシック", 4, 16, FW_BOLD), 1);
    ASSERT_EQ(surface.Create(40, 30), 1);
    font.DrawText(&surface, nullptr, 0, 0, 0xFF4020, u"A");
    EXPECT_EQ(surface.GetPixel(7, 3), 0x7E000000u); // shadow only: 255*127>>8
    EXPECT_EQ(surface.GetPixel(1, 2), 0x7E7F2010u); // glyph only
    EXPECT_EQ(surface.GetPixel(2, 3), 0xBD7F2010u); // both: 126 + (129*127>>8)
}

TEST_F(GlyphDrawTest, TagsAndSpacesDrawNothing) {
    ASSERT_EQ(surface.Create(100, 30), 1);
    font.DrawText(&surface, nullptr, 50, 0, 0xFFFFFF, u"<xyz> A");
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < 54 + 1; ++x) {
            ASSERT_EQ(surface.GetPixel(x, y), 0u) << x << ", " << y;
        }
    }
    EXPECT_NE(surface.GetPixel(55, 2), 0u); // the A after the space
}

TEST_F(GlyphDrawTest, CornerDecidesAndTheBoxIsClipped) {
    struct Case {
        const char* name;
        int x0;
        int y0;
        int inkX; // a pixel that must be drawn, or -1 when nothing may be
        int inkY;
    };
    const Case cases[] = {
        {"box past the right edge", 6, 0, 9, 2},
        {"box past the bottom edge", 0, 5, 1, 9},
        {"box past both", 6, 5, 9, 9},
        {"corner left of the surface", -2, 0, -1, -1},
        {"corner above the surface", 0, -3, -1, -1},
        {"corner on the right edge", 9, 0, -1, -1},
        {"corner on the bottom edge", 0, 8, -1, -1},
    };
    const RECT roomy{0, 0, 100, 100}; // larger than the surface: no line breaks
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(surface.Create(10, 10), 1);
        EXPECT_EQ(font.DrawText(&surface, &roomy, c.x0, c.y0, 0xFFFFFF, u"A"), 1);
        int inked = 0;
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                inked += surface.GetPixel(x, y) != 0;
            }
        }
        if (c.inkX < 0) {
            EXPECT_EQ(inked, 0);
        } else {
            EXPECT_EQ(surface.GetPixel(c.inkX, c.inkY), 0xFEFFFFFFu);
        }
    }
}

} // namespace
