// Glyph rasterising for glyph text: a font chosen by face name, character
// height, weight and character set, which gives per UTF-16 unit the pen
// advance and a 17-level coverage bitmap. Plain C++: the engine never sees
// the font libraries behind it, and both backends share the one
// implementation, so headless tests draw real glyphs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Weights and character sets of a font request, with their Win32 values.
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_SEMIBOLD = 600;
inline constexpr int FW_BOLD = 700;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SHIFTJIS_CHARSET = 128;
inline constexpr int HANGUL_CHARSET = 129;
inline constexpr int CHINESEBIG5_CHARSET = 136;

struct FontRequest {
    std::u16string face;
    int height = 0; // character (em) height in pixels
    int weight = FW_NORMAL;
    int charset = DEFAULT_CHARSET;
};

// The black box of one glyph with its coverage, 0..16 per pixel, one byte a
// pixel, rows top first without padding.
struct GlyphImage {
    int originX = 0; // left edge of the box, right of the pen position
    int originY = 0; // top edge of the box, above the baseline
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> coverage;

    bool Empty() const { return width <= 0 || rows <= 0; }
    int At(int x, int y) const { return coverage[std::size_t(y) * width + x]; }
};

inline constexpr int kCoverageLevels = 16;

// 8-bit anti-aliased coverage to 0..16, rounded to nearest.
constexpr int CoverageLevel(int v) {
    return (v * kCoverageLevels + 127) / 255;
}

class GlyphFont {
public:
    virtual ~GlyphFont() = default;
    // Pixels from the top of the character cell down to the baseline.
    virtual int Ascent() const = 0;
    // The pen advance of the unit in whole pixels.
    virtual int Advance(char16_t unit) = 0;
    // The unit's glyph: empty when it leaves no ink (a space) or when no
    // installed font has it.
    virtual GlyphImage Render(char16_t unit) = 0;
    // The family the request resolved to, for diagnostics.
    virtual std::string Family() const = 0;
};

class GlyphRasterizer {
public:
    virtual ~GlyphRasterizer() = default;
    // Null when no font can be opened for the request.
    virtual std::unique_ptr<GlyphFont> Open(const FontRequest& request) = 0;
};

// The process-wide rasteriser: FreeType over fontconfig unless replaced.
GlyphRasterizer& Glyphs();
// Tests put their own in; null brings the FreeType one back.
void UseGlyphs(GlyphRasterizer* replacement);
