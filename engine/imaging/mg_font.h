// CMGFont: text drawn glyph by glyph into a surface. The text is laid out
// inside a rectangle with the engine's own line breaking (the sequence
// backslash-n breaks a line, tags in angle brackets are kept but take no
// room, closing punctuation and small kana may hang past the right edge),
// then each glyph's coverage is blended into the pixels over a one-pixel
// drop shadow, raising alpha so the surface can be alpha-blended later.
#pragma once

#include "imaging/surface.h"
#include "platform/glyphs/glyph_rasterizer.h"

#include <cstdint>
#include <memory>

inline constexpr int kFontBufferUnits = 1024;

class CMGFont {
public:
    CMGFont() = default;
    virtual ~CMGFont() = default;
    CMGFont(const CMGFont&) = delete;
    CMGFont& operator=(const CMGFont&) = delete;

    // Opens the face at a character height in pixels; lines are height +
    // lineSpacing apart. 1, or 0 when no font can be had (the previous one,
    // if any, stays).
    int Create(const char16_t* face, int lineSpacing, int height, int weight);
    // Lays the text out over the whole surface from (0, 0) and returns the
    // x reached on the last line. The pixels are not touched.
    int Measure(const CSurface* surface, const char16_t* text);
    // Lays the text out in rect (null: the whole surface) starting at offset
    // (x, y) inside it and draws each glyph in colour. Returns the number of
    // buffer units the layout filled.
    int DrawText(CSurface* surface, const RECT* rect, int x, int y, std::uint32_t colour,
                 const char16_t* text);

    // --- Fields -----------------------------------------------------------------
    std::unique_ptr<GlyphFont> font;
    int height = 0;
    int lineHeight = 0;
    int ascent = 0; // of the face: places each glyph below the line's top
    // The last layout: one unit per glyph, and per tag '<', its length k and
    // its k units. positions holds the top-left corner of each glyph's line
    // cell; tag entries have none.
    char16_t buffer[kFontBufferUnits] = {};
    POINT positions[kFontBufferUnits] = {};
    int count = 0;
    std::uint32_t shadowColour = 0;
    int shadow = 1;

private:
    // Fills buffer, positions and count; returns the final x.
    int Layout(const RECT& rect, int x0, int y0, const char16_t* text);
    void DrawGlyph(CSurface& surface, char16_t unit, POINT at, std::uint32_t colour);
};
