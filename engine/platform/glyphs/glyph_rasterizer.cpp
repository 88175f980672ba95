#include "glyph_rasterizer.h"

#include "glyph_freetype_font.h"

namespace {

class FreeTypeRasterizer final : public GlyphRasterizer {
public:
    FreeTypeRasterizer() {
        if (FT_Init_FreeType(&library_) != 0) {
            library_ = nullptr;
        }
    }
    // Fonts must be closed before the process ends: they use the library.
    ~FreeTypeRasterizer() override {
        if (library_ != nullptr) {
            FT_Done_FreeType(library_);
        }
    }
    FreeTypeRasterizer(const FreeTypeRasterizer&) = delete;
    FreeTypeRasterizer& operator=(const FreeTypeRasterizer&) = delete;

    std::unique_ptr<GlyphFont> Open(const FontRequest& request) override {
        if (library_ == nullptr || request.height <= 0) {
            return nullptr;
        }
        return OpenFreeTypeFont(library_, request);
    }

private:
    FT_Library library_ = nullptr;
};

GlyphRasterizer* g_replacement = nullptr;

} // namespace

GlyphRasterizer& Glyphs() {
    if (g_replacement != nullptr) {
        return *g_replacement;
    }
    static FreeTypeRasterizer freetype;
    return freetype;
}

void UseGlyphs(GlyphRasterizer* replacement) {
    g_replacement = replacement;
}
