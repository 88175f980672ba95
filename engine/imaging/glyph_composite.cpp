#include "glyph_composite.h"

#include "imaging/surface.h"

#include <algorithm>

void CompositeGlyph(CSurface& surface, const GlyphImage& glyph, int x, int y,
                    std::uint32_t colour) {
    const int left = std::max(0, -x);
    const int top = std::max(0, -y);
    const int right = std::min(glyph.width, surface.width - x);
    const int bottom = std::min(glyph.rows, surface.height - y);
    if (surface.bits == nullptr || left >= right || top >= bottom) {
        return;
    }
    for (int row = top; row < bottom; ++row) {
        std::uint32_t* pixels = surface.Row(y + row);
        for (int column = left; column < right; ++column) {
            std::uint32_t& pixel = pixels[x + column];
            pixel = CompositeCoverage(pixel, colour, std::uint32_t(glyph.At(column, row)));
        }
    }
}
