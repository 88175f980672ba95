// Blending a glyph's 17-level coverage into surface pixels.
#pragma once

#include "platform/glyphs/glyph_rasterizer.h"

#include <cstdint>

class CSurface;

// Coverage e (0..16) of a colour (only its red, green and blue) over pixel
// d: each colour channel moves e/16 of the way to the colour, so e = 0 keeps
// d and e = 16 takes the colour exactly; the alpha gains (16e - 1)/256 of
// what it lacks. That gain is below 255 - A, so alpha never passes 255.
inline std::uint32_t CompositeCoverage(std::uint32_t d, std::uint32_t colour, std::uint32_t e) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        std::uint32_t below = d >> shift & 0xFF;
        std::uint32_t over = colour >> shift & 0xFF;
        result |= (below * (16 - e) + over * e) >> 4 << shift;
    }
    std::uint32_t alpha = d >> 24;
    std::uint32_t gain = e == 0 ? 0 : 16 * e - 1;
    alpha += (255 - alpha) * gain >> 8;
    return result | alpha << 24;
}

// Every pixel of the glyph's box, its top-left corner at display position
// (x, y), composited with the colour; the part outside the surface is left
// out.
void CompositeGlyph(CSurface& surface, const GlyphImage& glyph, int x, int y, std::uint32_t colour);
