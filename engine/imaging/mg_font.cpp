#include "imaging/mg_font.h"

#include "imaging/glyph_composite.h"

int CMGFont::Create(const char16_t* face, int lineSpacing, int height, int weight) {
    this->height = height;
    lineHeight = height + lineSpacing;
    // The programs' texts are Chinese with some Japanese; the character set
    // of the original request stays part of it.
    FontRequest request{face != nullptr ? face : u"", height, weight, SHIFTJIS_CHARSET};
    std::unique_ptr<GlyphFont> opened = Glyphs().Open(request);
    if (!opened) {
        return 0;
    }
    font = std::move(opened);
    ascent = font->Ascent();
    return 1;
}

int CMGFont::Measure(const CSurface* surface, const char16_t* text) {
    if (!font || surface == nullptr || text == nullptr) {
        return 0;
    }
    return Layout(RECT{0, 0, surface->width, surface->height}, 0, 0, text);
}

int CMGFont::DrawText(CSurface* surface, const RECT* rect, int x, int y, std::uint32_t colour,
                      const char16_t* text) {
    if (!font || surface == nullptr || text == nullptr) {
        return 0;
    }
    Layout(rect != nullptr ? *rect : RECT{0, 0, surface->width, surface->height}, x, y, text);
    for (int i = 0; i < count;) {
        if (buffer[i] == u'<') {
            i += 2 + buffer[i + 1];
            continue;
        }
        DrawGlyph(*surface, buffer[i], positions[i], colour);
        ++i;
    }
    return count;
}

void CMGFont::DrawGlyph(CSurface& surface, char16_t unit, POINT at, std::uint32_t colour) {
    GlyphImage glyph = font->Render(unit);
    if (glyph.Empty()) {
        return;
    }
    const int gx = at.x + glyph.originX;
    const int gy = at.y + ascent - glyph.originY;
    // Only the corner decides; the rest of the box is clipped as it is drawn.
    if (gx < 0 || gy < 0 || gx >= surface.width || gy >= surface.height) {
        return;
    }
    if (shadow != 0) {
        CompositeGlyph(surface, glyph, gx + 1, gy + 1, shadowColour);
    }
    CompositeGlyph(surface, glyph, gx, gy, colour);
}
