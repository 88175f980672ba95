// A rasteriser with fixed metrics, so layout and pixels can be checked
// exactly: every unit advances 10 pixels (a space 4, 'W' 16), and every
// glyph but the space is a solid 6 x 8 box of coverage `level`, one pixel
// right of the pen and 10 pixels above the baseline; the ascent is 12.
#pragma once

#include "platform/glyphs/glyph_rasterizer.h"

#include <optional>

class FakeFont : public GlyphFont {
public:
    explicit FakeFont(int level) : level_(level) {}
    int Ascent() const override { return 12; }
    int Advance(char16_t unit) override { return unit == u' ' ? 4 : unit == u'W' ? 16 : 10; }
    GlyphImage Render(char16_t unit) override {
        if (unit == u' ') {
            return {};
        }
        return GlyphImage{1, 10, 6, 8, std::vector<std::uint8_t>(6 * 8, std::uint8_t(level_))};
    }
    std::string Family() const override { return "fake"; }

private:
    int level_;
};

class FakeGlyphs : public GlyphRasterizer {
public:
    std::unique_ptr<GlyphFont> Open(const FontRequest& request) override {
        lastRequest = request;
        return fail ? nullptr : std::make_unique<FakeFont>(level);
    }

    int level = 16;
    bool fail = false;
    std::optional<FontRequest> lastRequest;
};

// Puts a FakeGlyphs in place of the real rasteriser for one test.
class FakeGlyphsScope {
public:
    FakeGlyphsScope() { UseGlyphs(&glyphs); }
    ~FakeGlyphsScope() { UseGlyphs(nullptr); }
    FakeGlyphsScope(const FakeGlyphsScope&) = delete;
    FakeGlyphsScope& operator=(const FakeGlyphsScope&) = delete;

    FakeGlyphs glyphs;
};
