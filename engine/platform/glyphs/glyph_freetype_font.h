// The FreeType GlyphFont: the face fontconfig chose for a request, then
// fallback faces opened as units that face lacks come up.
#pragma once

#include "glyph_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

// Null when no face can be found or opened at the request's height.
std::unique_ptr<GlyphFont> OpenFreeTypeFont(FT_Library library, const FontRequest& request);
