// Uncompressed true-colour TGA (image type 2, no identifier, no colour map).
// Only 32-bit pictures carry pixels; rows are taken bottom row first and
// the descriptor's origin bits are not looked at.
#include "image_decoders.h"
#include "surface.h"

#include <cstring>

namespace {
constexpr std::size_t kHeaderSize = 18;
}

int DecodeTga(CSurface& surface, ByteReader file) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t depth = 0;
    if (!file.Skip(12) || !file.U16(width) || !file.U16(height) || !file.U8(depth) ||
        surface.Create(static_cast<int>(width), static_cast<int>(height)) == 0) {
        return 0;
    }
    if (depth != 32) {
        return 1; // a blank picture
    }
    // Whole rows as far as the file reaches, then what is left of the last.
    ByteReader pixels = file.Slice(kHeaderSize, file.Size());
    std::size_t bytes = std::min(pixels.Size(), std::size_t(width) * height * 4);
    std::memcpy(surface.bits, pixels.Data(), bytes);
    surface.hasAlpha = 1;
    return 1;
}
