#include "glyph_freetype_font.h"

#include "glyph_font_match.h"

#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Face {
    FT_Face face = nullptr;
    FontFile file;
    bool embolden = false; // bold asked for, but the file is a regular face
};

std::optional<Face> OpenFace(FT_Library library, const FontFile& file, const FontRequest& request) {
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) {
        return std::nullopt;
    }
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(request.height)) != 0) {
        FT_Done_Face(face);
        return std::nullopt;
    }
    return Face{face, file, request.weight >= FW_SEMIBOLD && !file.bold};
}

bool IsSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

class FreeTypeFont final : public GlyphFont {
public:
    FreeTypeFont(FT_Library library, const FontRequest& request, Face primary)
        : library_(library), request_(request) {
        faces_.push_back(std::move(primary));
    }
    ~FreeTypeFont() override {
        for (Face& face : faces_) {
            FT_Done_Face(face.face);
        }
    }
    FreeTypeFont(const FreeTypeFont&) = delete;
    FreeTypeFont& operator=(const FreeTypeFont&) = delete;

    int Ascent() const override {
        // 26.6 fixed point; FreeType already rounds it up for outline faces.
        return int((faces_.front().face->size->metrics.ascender + 63) >> 6);
    }

    int Advance(char16_t unit) override {
        int found = FaceFor(unit);
        // A unit no font has advances like the face's missing-glyph box.
        const Face& face = faces_[found < 0 ? 0 : std::size_t(found)];
        FT_UInt index = found < 0 ? 0 : FT_Get_Char_Index(face.face, unit);
        if (!Load(face, index)) {
            return 0;
        }
        return int((face.face->glyph->advance.x + 32) >> 6);
    }

    GlyphImage Render(char16_t unit) override {
        int found = FaceFor(unit);
        if (found < 0) {
            return {};
        }
        const Face& face = faces_[std::size_t(found)];
        FT_GlyphSlot slot = face.face->glyph;
        if (!Load(face, FT_Get_Char_Index(face.face, unit)) ||
            FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 ||
            slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
            return {};
        }
        return ToCoverage(slot);
    }

    std::string Family() const override { return faces_.front().file.family; }

private:
    static bool Load(const Face& face, FT_UInt index) {
        // Outlines only: embedded bitmaps of small sizes are not anti-aliased.
        if (FT_Load_Glyph(face.face, index, FT_LOAD_NO_BITMAP) != 0) {
            return false;
        }
        if (face.embolden) {
            FT_GlyphSlot_Embolden(face.face->glyph);
        }
        return true;
    }

    static GlyphImage ToCoverage(FT_GlyphSlot slot) {
        const FT_Bitmap& bitmap = slot->bitmap;
        GlyphImage image;
        image.originX = slot->bitmap_left;
        image.originY = slot->bitmap_top;
        image.width = int(bitmap.width);
        image.rows = int(bitmap.rows);
        image.coverage.resize(std::size_t(image.width) * std::size_t(image.rows));
        // A negative pitch stores the rows bottom first.
        const int pitch = bitmap.pitch;
        for (int y = 0; y < image.rows; ++y) {
            int stored = pitch < 0 ? image.rows - 1 - y : y;
            const unsigned char* row = bitmap.buffer + std::ptrdiff_t(stored) * std::abs(pitch);
            for (int x = 0; x < image.width; ++x) {
                image.coverage[std::size_t(y) * image.width + x] =
                    std::uint8_t(CoverageLevel(row[x]));
            }
        }
        return image;
    }

    // The index of the first open face with a glyph for the unit, opening a
    // fallback face when none has; -1 when no installed font has it.
    int FaceFor(char16_t unit) {
        // Half of a surrogate pair is no character; no font draws it alone.
        if (IsSurrogate(unit)) {
            return -1;
        }
        for (std::size_t i = 0; i < faces_.size(); ++i) {
            if (FT_Get_Char_Index(faces_[i].face, unit) != 0) {
                return int(i);
            }
        }
        if (std::find(missing_.begin(), missing_.end(), unit) != missing_.end()) {
            return -1;
        }
        if (OpenFallback(unit)) {
            return int(faces_.size() - 1);
        }
        missing_.push_back(unit);
        return -1;
    }

    bool OpenFallback(char16_t unit) {
        std::optional<FontFile> file = MatchFallback(request_, unit);
        if (!file) {
            return false;
        }
        for (const Face& face : faces_) {
            if (face.file.path == file->path && face.file.index == file->index) {
                return false;
            }
        }
        std::optional<Face> face = OpenFace(library_, *file, request_);
        if (!face) {
            return false;
        }
        if (FT_Get_Char_Index(face->face, unit) == 0) {
            FT_Done_Face(face->face);
            return false;
        }
        faces_.push_back(std::move(*face));
        return true;
    }

    FT_Library library_;
    FontRequest request_;
    std::vector<Face> faces_; // the matched face first, then fallbacks
    std::vector<char16_t> missing_;
};

} // namespace

std::unique_ptr<GlyphFont> OpenFreeTypeFont(FT_Library library, const FontRequest& request) {
    std::optional<FontFile> file = MatchFont(request);
    if (!file) {
        return nullptr;
    }
    std::optional<Face> face = OpenFace(library, *file, request);
    if (!face) {
        return nullptr;
    }
    return std::make_unique<FreeTypeFont>(library, request, std::move(*face));
}
