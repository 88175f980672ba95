// Line breaking of CMGFont over the fixed metrics of FakeGlyphs: every unit
// advances 10 ('W' 16, a space 4) and lines are 16 + 4 pixels apart.
#include "fake_glyphs.h"
#include "imaging/mg_font.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Placed {
    char16_t unit;
    int x;
    int y;
    friend bool operator==(const Placed&, const Placed&) = default;
};

void PrintTo(const Placed& p, std::ostream* os) {
    *os << "U+" << std::hex << int(p.unit) << std::dec << " at (" << p.x << ", " << p.y << ")";
}

// The glyph entries of the last layout, tag records skipped.
std::vector<Placed> PlacedGlyphs(const CMGFont& font) {
    std::vector<Placed> placed;
    for (int i = 0; i < font.count;) {
        if (font.buffer[i] == u'<') {
            i += 2 + font.buffer[i + 1];
            continue;
        }
        placed.push_back({font.buffer[i], font.positions[i].x, font.positions[i].y});
        ++i;
    }
    return placed;
}

class FontLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(font.Create(u"ＭＳ ゴシック", 4, 16, FW_BOLD), 1);
        ASSERT_EQ(surface.Create(400, 400), 1);
    }

    FakeGlyphsScope fake;
    CMGFont font;
    CSurface surface;
};

TEST_F(FontLayoutTest, CreatePassesTheRequestAndKeepsTheMetrics) {
    ASSERT_TRUE(fake.glyphs.lastRequest.has_value());
    EXPECT_EQ(fake.glyphs.lastRequest->face, u"ＭＳ ゴシック");
    EXPECT_EQ(fake.glyphs.lastRequest->height, 16);
    EXPECT_EQ(fake.glyphs.lastRequest->weight, FW_BOLD);
    EXPECT_EQ(fake.glyphs.lastRequest->charset, SHIFTJIS_CHARSET);
    EXPECT_EQ(font.height, 16);
    EXPECT_EQ(font.lineHeight, 20);
    EXPECT_EQ(font.ascent, 12);
}

TEST_F(FontLayoutTest, WithoutAFontNothingIsLaidOut) {
    fake.glyphs.fail = true;
    CMGFont none;
    EXPECT_EQ(none.Create(u"nothing", 4, 16, FW_NORMAL), 0);
    EXPECT_EQ(none.DrawText(&surface, nullptr, 0, 0, 0xFFFFFF, u"AB"), 0);
    EXPECT_EQ(none.Measure(&surface, u"AB"), 0);
    EXPECT_EQ(surface.GetPixel(1, 2), 0u);
}

struct LayoutCase {
    const char* name;
    RECT rect;
    int x0;
    int y0;
    std::u16string text;
    std::vector<Placed> expected;
};

TEST_F(FontLayoutTest, PlacesGlyphs) {
    const RECT wide{0, 0, 100, 100};
    const RECT narrow{0, 0, 35, 100}; // three glyphs fit, a fourth overflows
    const LayoutCase cases[] = {
        {"backslash-n breaks the line", wide, 0, 0, u"A\\nB", {{u'A', 0, 0}, {u'B', 0, 20}}},
        {"a new line starts at the left edge, one line lower",
         {5, 7, 105, 107},
         3,
         2,
         u"A\\nB",
         {{u'A', 8, 9}, {u'B', 5, 29}}},
        {"a backslash before anything but n is a glyph",
         wide,
         0,
         0,
         u"\\x\\",
         {{u'\\', 0, 0}, {u'x', 10, 0}, {u'\\', 20, 0}}},
        {"advances add up",
         wide,
         0,
         0,
         u"AW A",
         {{u'A', 0, 0}, {u'W', 10, 0}, {u' ', 26, 0}, {u'A', 30, 0}}},
        {"a tag takes no room", wide, 0, 0, u"<x>AB", {{u'A', 0, 0}, {u'B', 10, 0}}},
        {"a tag without its end runs to the end of the text", wide, 0, 0, u"A<bc", {{u'A', 0, 0}}},
        {"。 stays past the right edge",
         narrow,
         0,
         0,
         u"ABC。D",
         {{u'A', 0, 0}, {u'B', 10, 0}, {u'C', 20, 0}, {u'。', 30, 0}, {u'D', 0, 20}}},
        {"! stays",
         narrow,
         0,
         0,
         u"ABC!",
         {{u'A', 0, 0}, {u'B', 10, 0}, {u'C', 20, 0}, {u'!', 30, 0}}},
        {"? stays",
         narrow,
         0,
         0,
         u"ABC?",
         {{u'A', 0, 0}, {u'B', 10, 0}, {u'C', 20, 0}, {u'?', 30, 0}}},
        {"small kana stays",
         narrow,
         0,
         0,
         u"ABCッ",
         {{u'A', 0, 0}, {u'B', 10, 0}, {u'C', 20, 0}, {u'ッ', 30, 0}}},
        {"a closing bracket stays",
         narrow,
         0,
         0,
         u"ABC」",
         {{u'A', 0, 0}, {u'B', 10, 0}, {u'C', 20, 0}, {u'」', 30, 0}}},
        {"an ordinary glyph opens the next line",
         narrow,
         0,
         0,
         u"ABCXD",
         {{u'A', 0, 0}, {u'B', 10, 0}, {u'C', 20, 0}, {u'X', 0, 20}, {u'D', 10, 20}}},
        {"an opening bracket opens the next line",
         narrow,
         0,
         0,
         u"ABC「",
         {{u'A', 0, 0}, {u'B', 10, 0}, {u'C', 20, 0}, {u'「', 0, 20}}},
        {"a break past the last line stops the layout",
         {0, 0, 100, 50},
         0,
         0,
         u"A\\nB\\nC",
         {{u'A', 0, 0}, {u'B', 0, 20}}},
        {"an overflow past the last line stops the layout",
         {0, 0, 20, 40},
         0,
         0,
         u"ABCDE",
         {{u'A', 0, 0}, {u'B', 10, 0}, {u'C', 0, 20}, {u'D', 10, 20}}},
        {"the first line is laid even when no line fits",
         {0, 0, 100, 10},
         0,
         0,
         u"AB\\nC",
         {{u'A', 0, 0}, {u'B', 10, 0}}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        font.DrawText(&surface, &c.rect, c.x0, c.y0, 0xFFFFFF, c.text.c_str());
        EXPECT_EQ(PlacedGlyphs(font), c.expected);
    }
}

TEST_F(FontLayoutTest, TagsAreKeptInTheBuffer) {
    EXPECT_EQ(font.DrawText(&surface, nullptr, 0, 0, 0xFFFFFF, u"<xy>A<>B"), 8);
    const std::u16string expected{u'<', 2, u'x', u'y', u'A', u'<', 0, u'B'};
    EXPECT_EQ(std::u16string(font.buffer, 8), expected);
}

TEST_F(FontLayoutTest, StopsWhenTheBufferIsFull) {
    const RECT endless{0, 0, 1 << 20, 100};
    std::u16string text(1100, u'A');
    EXPECT_EQ(font.DrawText(&surface, &endless, 0, 0, 0xFFFFFF, text.c_str()), kFontBufferUnits);
    EXPECT_EQ(font.positions[kFontBufferUnits - 1].x, (kFontBufferUnits - 1) * 10);

    // A tag is stored whole or not at all.
    text = std::u16string(1020, u'A') + u"<abcdef>B";
    EXPECT_EQ(font.DrawText(&surface, &endless, 0, 0, 0xFFFFFF, text.c_str()), 1020);
}

TEST_F(FontLayoutTest, MeasureGivesTheEndOfTheLastLine) {
    surface.Create(30, 100);
    EXPECT_EQ(font.Measure(&surface, u"W A"), 30);
    EXPECT_EQ(font.Measure(&surface, u"AB\\nW"), 16);
    EXPECT_EQ(font.Measure(&surface, u"<tag>A"), 10);
    EXPECT_EQ(font.Measure(&surface, u"ABCD"), 10); // D wraps at the surface's width
    for (int y = 0; y < surface.height; ++y) {
        for (int x = 0; x < surface.width; ++x) {
            ASSERT_EQ(surface.GetPixel(x, y), 0u) << x << ", " << y;
        }
    }
}

} // namespace
