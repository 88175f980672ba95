// Choosing font files through fontconfig: the face a request names, and
// fallback faces for units that face lacks.
#pragma once

#include "glyph_rasterizer.h"

#include <optional>
#include <string>

struct FontFile {
    std::string path;
    int index = 0; // face within a collection
    std::string family;
    bool bold = false; // the file itself is a bold (or heavier) face
};

// The face for the request; nothing when fontconfig has no scalable face.
std::optional<FontFile> MatchFont(const FontRequest& request);
// A face close to the request that has a glyph for the character; nothing
// when no installed font has it.
std::optional<FontFile> MatchFallback(const FontRequest& request, char32_t character);
