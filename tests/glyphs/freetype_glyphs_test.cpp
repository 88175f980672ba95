// The real rasteriser, as both backends use it: fonts found through
// fontconfig, glyphs drawn by FreeType. Checks hold for any version of the
// installed fonts; no bytes of a particular rendering are compared.
#include "base/text16.h"
#include "imaging/mg_font.h"
#include "png_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <string>

namespace {

constexpr std::array<const char*, 5> kGothicStandIns = {
    "Noto Sans Mono CJK SC", "Noto Sans CJK SC", "WenQuanYi Zen Hei", "VL Gothic", "IPAGothic"};

std::unique_ptr<GlyphFont> OpenGothic(int weight = FW_BOLD) {
    return Glyphs().Open(FontRequest{u"ＭＳ ゴシック", 16, weight, SHIFTJIS_CHARSET});
}

int InkOf(const GlyphImage& glyph) {
    int sum = 0;
    for (std::uint8_t v : glyph.coverage) {
        sum += v;
    }
    return sum;
}

void Fill(CSurface& surface, std::uint32_t pixel) {
    for (int y = 0; y < surface.height; ++y) {
        std::fill(surface.Row(y), surface.Row(y) + surface.width, pixel);
    }
}

// The smallest rectangle holding every pixel that differs from `background`;
// empty when none does.
RECT InkBounds(const CSurface& surface, std::uint32_t background) {
    RECT ink{surface.width, surface.height, 0, 0};
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            if (surface.GetPixel(x, y) != background) {
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                       std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
            }
        }
    }
    return ink;
}

bool IsEmpty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

TEST(FreeTypeGlyphs, TheJapaneseGothicFallsBackToACjkGothic) {
    for (const char16_t* name : {u"ＭＳ ゴシック", u"MS Gothic", u"ms gothic"}) {
        std::unique_ptr<GlyphFont> font =
            Glyphs().Open(FontRequest{name, 16, FW_BOLD, SHIFTJIS_CHARSET});
        ASSERT_NE(font, nullptr);
        const std::string family = font->Family();
        SCOPED_TRACE(family);
        if (family != "MS Gothic" && family != "ＭＳ ゴシック") {
            EXPECT_NE(std::find(kGothicStandIns.begin(), kGothicStandIns.end(), family),
                      kGothicStandIns.end());
        }
        EXPECT_GT(font->Ascent(), 0);
        EXPECT_LE(font->Ascent(), 2 * 16);
        for (char16_t unit : std::u16string(u"补休假日かなッ漢A")) {
            EXPECT_FALSE(font->Render(unit).Empty()) << int(unit);
            EXPECT_GT(font->Advance(unit), 0) << int(unit);
        }
    }
}

TEST(FreeTypeGlyphs, GlyphsMissingFromTheFaceComeFromAFallback) {
    std::unique_ptr<GlyphFont> font =
        Glyphs().Open(FontRequest{u"DejaVu Sans", 16, FW_NORMAL, DEFAULT_CHARSET});
    ASSERT_NE(font, nullptr);
    if (font->Family() != "DejaVu Sans") {
        GTEST_SKIP() << "DejaVu Sans is not installed";
    }
    for (char16_t unit : std::u16string(u"A补かッ")) {
        EXPECT_FALSE(font->Render(unit).Empty()) << int(unit);
    }
}

TEST(FreeTypeGlyphs, UnitsNoFontHasHaveSizeZero) {
    std::unique_ptr<GlyphFont> font = OpenGothic();
    ASSERT_NE(font, nullptr);
    for (char16_t unit : {char16_t(0xD800), char16_t(0xDFFF), char16_t(0xFFFF)}) {
        EXPECT_TRUE(font->Render(unit).Empty()) << int(unit);
    }
}

TEST(FreeTypeGlyphs, CoverageHasSeventeenLevels) {
    EXPECT_EQ(CoverageLevel(0), 0);
    EXPECT_EQ(CoverageLevel(7), 0);
    EXPECT_EQ(CoverageLevel(8), 1);
    EXPECT_EQ(CoverageLevel(128), 8);
    EXPECT_EQ(CoverageLevel(247), 15);
    EXPECT_EQ(CoverageLevel(248), 16);
    EXPECT_EQ(CoverageLevel(255), 16);

    std::unique_ptr<GlyphFont> font = OpenGothic();
    ASSERT_NE(font, nullptr);
    bool full = false;
    bool partial = false;
    for (char16_t unit : std::u16string(u"补休假日かなAg")) {
        GlyphImage glyph = font->Render(unit);
        ASSERT_EQ(glyph.coverage.size(), std::size_t(glyph.width) * std::size_t(glyph.rows));
        for (std::uint8_t v : glyph.coverage) {
            ASSERT_LE(v, 16);
            full |= v == 16;
            partial |= v > 0 && v < 16;
        }
    }
    EXPECT_TRUE(full);
    EXPECT_TRUE(partial); // anti-aliased, not a one-bit bitmap
}

TEST(FreeTypeGlyphs, BoldIsHeavier) {
    std::unique_ptr<GlyphFont> regular = OpenGothic(FW_NORMAL);
    std::unique_ptr<GlyphFont> bold = OpenGothic(FW_BOLD);
    ASSERT_NE(regular, nullptr);
    ASSERT_NE(bold, nullptr);
    for (char16_t unit : std::u16string(u"补かA")) {
        EXPECT_GT(InkOf(bold->Render(unit)), InkOf(regular->Render(unit))) << int(unit);
    }
}

TEST(FreeTypeGlyphs, AFaceWithoutABoldStyleIsEmboldened) {
    // Faces that come in one weight only, from optional font packages.
    for (const char16_t* face : {u"DejaVu Math TeX Gyre", u"Z003"}) {
        std::unique_ptr<GlyphFont> regular =
            Glyphs().Open(FontRequest{face, 16, FW_NORMAL, DEFAULT_CHARSET});
        std::unique_ptr<GlyphFont> bold =
            Glyphs().Open(FontRequest{face, 16, FW_BOLD, DEFAULT_CHARSET});
        ASSERT_NE(regular, nullptr);
        ASSERT_NE(bold, nullptr);
        if (regular->Family() != Utf16ToUtf8(face)) {
            continue;
        }
        EXPECT_EQ(bold->Family(), regular->Family());
        EXPECT_GT(InkOf(bold->Render(u'A')), InkOf(regular->Render(u'A')));
        return;
    }
    GTEST_SKIP() << "no single-weight face is installed";
}

class RealFontTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(font.Create(u"ＭＳ ゴシック", 4, 16, FW_BOLD), 1); }

    CMGFont font;
    CSurface popup;
};

TEST_F(RealFontTest, MeasureOfOneLineIsTheSumOfAdvances) {
    ASSERT_EQ(popup.Create(1000, 40), 1);
    const std::u16string text = u"Lumi 补休假日、かなッ! 12:30";
    int sum = 0;
    for (char16_t unit : text) {
        sum += font.font->Advance(unit);
    }
    EXPECT_GT(sum, 0);
    EXPECT_EQ(font.Measure(&popup, text.c_str()), sum);
}

TEST_F(RealFontTest, SpacesAndMissingUnitsChangeNoPixel) {
    ASSERT_EQ(popup.Create(304, 222), 1);
    Fill(popup, 0x80402010);
    EXPECT_EQ(font.DrawText(&popup, nullptr, 0, 0, 0xFFFFFF, u"  \xFFFF "), 4);
    EXPECT_TRUE(IsEmpty(InkBounds(popup, 0x80402010)));
    EXPECT_GT(font.Measure(&popup, u" "), 0); // yet the pen moves on
}

TEST_F(RealFontTest, ChineseLabelInkLiesInItsRectangle) {
    ASSERT_EQ(popup.Create(304, 222), 1);
    const RECT label{20, 27, 280, 177};
    const std::u16string text = u"补休假日";
    EXPECT_EQ(font.DrawText(&popup, &label, 0, 0, 0xFFFF4040, text.c_str()), 4);

    const RECT ink = InkBounds(popup, 0);
    ASSERT_FALSE(IsEmpty(ink));
    EXPECT_GE(ink.left, label.left);
    EXPECT_GE(ink.top, label.top);
    EXPECT_LE(ink.right, label.left + font.Measure(&popup, text.c_str()) + 1); // + shadow
    EXPECT_LE(ink.bottom, label.bottom);

    // Every character left ink within its own advance.
    int x = label.left;
    for (char16_t unit : text) {
        const int advance = font.font->Advance(unit);
        RECT cell{x, label.top, x + advance, label.bottom};
        bool inked = false;
        for (int y = cell.top; y < cell.bottom && !inked; ++y) {
            for (int px = cell.left; px < cell.right && !inked; ++px) {
                inked = popup.GetPixel(px, y) != 0;
            }
        }
        EXPECT_TRUE(inked) << int(unit);
        x += advance;
    }
}

TEST_F(RealFontTest, PopupWithChineseJapaneseAndLatinIsWrittenForInspection) {
    ASSERT_EQ(popup.Create(304, 222), 1);
    const std::uint32_t backdrop = 0xC0283848;
    Fill(popup, backdrop);
    const RECT label{20, 27, 280, 177};
    const RECT memo{20, 52, 280, 202};
    font.DrawText(&popup, &label, 0, 0, 0xFFFF4040, u"补休假日");
    const char16_t* lines = u"调休上班，记得带伞\\n明日は晴れ、ですね。\\nLumi memo 12:30 OK?";
    EXPECT_EQ(font.DrawText(&popup, &memo, 0, 0, 0xFFFFFFFF, lines), 9 + 10 + 19);

    // Each line carries fully covered white pixels: real glyphs of each script.
    for (int line = 0; line < 3; ++line) {
        SCOPED_TRACE(line);
        const int top = memo.top + line * font.lineHeight;
        bool white = false;
        for (int y = top; y < top + font.lineHeight && !white; ++y) {
            for (int x = memo.left; x < memo.right && !white; ++x) {
                white = (popup.GetPixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
            }
        }
        EXPECT_TRUE(white);
    }

    const std::string path = std::string(GLYPHS_OUTPUT_DIR) + "/popup_text.png";
    ASSERT_TRUE(WritePng(path, popup));
    std::ifstream written(path, std::ios::binary);
    char signature[8] = {};
    written.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

} // namespace
