// BMP: BITMAPFILEHEADER + BITMAPINFOHEADER (or a later, longer info
// header), then the palette, then rows padded to four bytes. Bottom-up
// files fill the surface rows in order; top-down ones (negative height) are
// turned upright.
#include "image_decoders.h"
#include "surface.h"

#include <vector>

namespace {

constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kFileHeader = 14;
constexpr std::size_t kInfoHeader = 40;

struct BmpHeader {
    int width = 0;
    int height = 0;
    bool topDown = false;
    std::uint32_t infoSize = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t redMask = 0;
};

bool ReadHeader(const ByteReader& file, BmpHeader& header) {
    ByteReader in = file.Slice(kFileHeader, kInfoHeader);
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!in.U32(header.infoSize) || !in.U32(width) || !in.U32(height) || !in.Skip(2) ||
        !in.U16(header.bitCount) || !in.U32(header.compression) || !in.Skip(12) ||
        !in.U32(header.colorsUsed)) {
        return false;
    }
    // The red mask follows a 40-byte header, or is its next field in the
    // longer ones: offset 54 either way.
    ByteReader mask = file.Slice(kFileHeader + kInfoHeader, 4);
    mask.U32(header.redMask);
    header.width = static_cast<std::int32_t>(width);
    long long signedHeight = static_cast<std::int32_t>(height);
    header.topDown = signedHeight < 0;
    signedHeight = signedHeight < 0 ? -signedHeight : signedHeight;
    header.height = signedHeight > 0x7FFFFFFF ? 0 : static_cast<int>(signedHeight);
    return true;
}

// Reads pixel x of a row; false when the row's bytes end before it.
using PixelReader = bool (*)(const ByteReader& row, std::size_t x, const BmpHeader& header,
                             const std::vector<std::uint32_t>& palette, std::uint32_t& pixel);

// The bytes of pixel x for a depth of bytesPerPixel, or null.
const std::uint8_t* PixelBytes(const ByteReader& row, std::size_t x, std::size_t bytesPerPixel) {
    std::size_t offset = x * bytesPerPixel;
    return offset + bytesPerPixel <= row.Size() ? row.Data() + offset : nullptr;
}

bool FromPalette(const std::vector<std::uint32_t>& palette, std::uint32_t index,
                 std::uint32_t& pixel) {
    pixel = index < palette.size() ? palette[index] : 0; // past the palette: black
    return true;
}

// Two pixels a byte, the left one in the high nibble.
bool Read4(const ByteReader& row, std::size_t x, const BmpHeader&,
           const std::vector<std::uint32_t>& palette, std::uint32_t& pixel) {
    const std::uint8_t* p = PixelBytes(row, x / 2, 1);
    return p != nullptr && FromPalette(palette, x % 2 == 0 ? *p >> 4 : *p & 0x0F, pixel);
}

bool Read8(const ByteReader& row, std::size_t x, const BmpHeader&,
           const std::vector<std::uint32_t>& palette, std::uint32_t& pixel) {
    const std::uint8_t* p = PixelBytes(row, x, 1);
    return p != nullptr && FromPalette(palette, *p, pixel);
}

// 5-5-5, or 5-6-5 when the bit fields say so; the low bits stay 0.
bool Read16(const ByteReader& row, std::size_t x, const BmpHeader& header,
            const std::vector<std::uint32_t>&, std::uint32_t& pixel) {
    const std::uint8_t* p = PixelBytes(row, x, 2);
    if (p == nullptr) {
        return false;
    }
    std::uint32_t v = p[0] | p[1] << 8;
    bool is565 = header.compression == kBitFields && header.redMask == 0xF800;
    pixel = is565 ? (v >> 11 & 0x1F) << 19 | (v >> 5 & 0x3F) << 10 | (v & 0x1F) << 3
                  : (v >> 10 & 0x1F) << 19 | (v >> 5 & 0x1F) << 11 | (v & 0x1F) << 3;
    return true;
}

bool Read24(const ByteReader& row, std::size_t x, const BmpHeader&,
            const std::vector<std::uint32_t>&, std::uint32_t& pixel) {
    const std::uint8_t* p = PixelBytes(row, x, 3);
    if (p == nullptr) {
        return false;
    }
    pixel = p[0] | p[1] << 8 | std::uint32_t(p[2]) << 16;
    return true;
}

// Copied as they are, alpha byte included, unless the bit fields put red
// first (R, G, B, X).
bool Read32(const ByteReader& row, std::size_t x, const BmpHeader& header,
            const std::vector<std::uint32_t>&, std::uint32_t& pixel) {
    const std::uint8_t* p = PixelBytes(row, x, 4);
    if (p == nullptr) {
        return false;
    }
    if (header.compression == kBitFields && header.redMask == 0x000000FF) {
        pixel = p[2] | p[1] << 8 | std::uint32_t(p[0]) << 16;
    } else {
        pixel = p[0] | p[1] << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
    }
    return true;
}

PixelReader ReaderFor(std::uint32_t bitCount) {
    switch (bitCount) {
    case 4:
        return Read4;
    case 8:
        return Read8;
    case 16:
        return Read16;
    case 24:
        return Read24;
    case 32:
        return Read32;
    default:
        return nullptr;
    }
}

} // namespace

int DecodeBmp(CSurface& surface, ByteReader file) {
    BmpHeader header;
    if (!ReadHeader(file, header)) {
        return 0;
    }
    PixelReader reader = ReaderFor(header.bitCount);
    if ((reader == nullptr && header.bitCount != 1) ||
        surface.Create(header.width, header.height) == 0) {
        surface.Release();
        return 0;
    }
    if (reader == nullptr) {
        return 1; // 1-bit pictures stay blank
    }
    std::size_t paletteCount = header.colorsUsed;
    if (paletteCount == 0 && header.bitCount <= 8) {
        paletteCount = std::size_t(1) << header.bitCount;
    }
    // A 40-byte header with bit fields keeps its three masks before the
    // pixels; reading them as pixels would shift the picture.
    std::size_t masks = header.compression == kBitFields && header.infoSize == kInfoHeader ? 12 : 0;
    ByteReader palette = file.Slice(kFileHeader + header.infoSize + masks, file.Size());
    std::vector<std::uint32_t> colours;
    for (std::size_t k = 0; k < paletteCount && palette.Remaining() >= 4; ++k) {
        const std::uint8_t* p = palette.Take(4);
        colours.push_back(p[0] | p[1] << 8 | std::uint32_t(p[2]) << 16);
    }
    std::size_t start = kFileHeader + std::size_t(header.infoSize) + 4 * paletteCount + masks;
    std::size_t rowBytes = ((std::size_t(header.width) * header.bitCount + 31) / 32) * 4;
    for (int row = 0; row < surface.height; ++row) {
        int target = header.topDown ? surface.height - 1 - row : row;
        std::uint32_t* out = surface.bits + std::size_t(target) * surface.width;
        ByteReader line = file.Slice(start + std::size_t(row) * rowBytes, rowBytes);
        for (int x = 0; x < surface.width; ++x) {
            if (!reader(line, std::size_t(x), header, colours, out[x])) {
                return 1; // the file ends here: a truncated picture
            }
        }
    }
    return 1;
}
