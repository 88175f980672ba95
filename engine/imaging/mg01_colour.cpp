// The colour methods of MG01 entries. Each produces width x height pixels
// in storage order (bottom row first) with alpha 0 unless it carries its
// own; runs continue across row ends. Every decoder stops at its end code,
// at the end of the entry's data, or when the picture is full.
#include "data/lz_decode.h"
#include "image_decoders.h"
#include "surface.h"

#include <bit>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "LZ pixels are expanded straight into the 0xAARRGGBB words");

namespace {

using Pixels = OutputRun<std::uint32_t>;

enum ColourMethod : std::uint32_t {
    kRaw = 0x00,
    kRunLength = 0x04,
    kPaletteRunLength = 0x08,
    kGreyRunLength = 0x0C,
    kLzDirect = 0x20,
    kLzPlanar = 0x24,
};
constexpr std::uint32_t kMethodBits = 0x2C;
constexpr std::uint32_t kHorizontalDelta = 0x01; // kGreyRunLength: mixed mode
constexpr std::uint32_t kVerticalDelta = 0x02;
constexpr std::uint32_t kLiteralMark = 0xFF;

std::uint32_t Bgr(std::uint32_t b, std::uint32_t g, std::uint32_t r) {
    return b | g << 8 | r << 16;
}

bool ReadBgr(ByteReader& in, std::uint32_t& pixel) {
    std::uint32_t b = 0;
    std::uint32_t g = 0;
    std::uint32_t r = 0;
    if (!in.U8(b) || !in.U8(g) || !in.U8(r)) {
        return false;
    }
    pixel = Bgr(b, g, r);
    return true;
}

// The rest of a literal whose blue byte is the escape: G, R follow.
bool ReadEscapedLiteral(ByteReader& in, std::uint32_t escape, std::uint32_t& pixel) {
    std::uint32_t g = 0;
    std::uint32_t r = 0;
    if (!in.U8(g) || !in.U8(r)) {
        return false;
    }
    pixel = Bgr(escape, g, r);
    return true;
}

void DecodeRaw(ByteReader in, const CSurface& surface) {
    std::size_t rowBytes = (std::size_t(surface.width) * 3 + 3) & ~std::size_t(3);
    for (int row = 0; row < surface.height; ++row) {
        std::uint32_t* out = surface.bits + std::size_t(row) * surface.width;
        ByteReader line = in.Slice(std::size_t(row) * rowBytes, rowBytes);
        for (int x = 0; x < surface.width; ++x) {
            if (!ReadBgr(line, out[x])) {
                return;
            }
        }
    }
}

void DecodeRunLength(ByteReader in, std::uint32_t escape, Pixels out) {
    std::uint32_t c = 0;
    while (!out.Full() && in.U8(c)) {
        std::uint32_t pixel = 0;
        if (c != escape) {
            std::uint32_t g = 0;
            std::uint32_t r = 0;
            if (!in.U8(g) || !in.U8(r)) {
                return;
            }
            out.Put(Bgr(c, g, r));
            continue;
        }
        std::uint32_t n = 0;
        if (!in.U8(n) || n == 0) {
            return;
        }
        if (n == kLiteralMark) {
            if (!ReadEscapedLiteral(in, escape, pixel)) {
                return;
            }
            out.Put(pixel);
        } else {
            if (!ReadBgr(in, pixel)) {
                return;
            }
            out.Repeat(pixel, n);
        }
    }
}

void DecodePaletteRunLength(ByteReader in, std::uint32_t escape, std::uint32_t paletteCount,
                            Pixels out) {
    std::vector<std::uint32_t> palette;
    for (std::uint32_t k = 0; k < paletteCount; ++k) {
        std::uint32_t colour = 0;
        if (!ReadBgr(in, colour) || !in.Skip(1)) {
            return;
        }
        palette.push_back(colour);
    }
    std::uint32_t c = 0;
    while (!out.Full() && in.U8(c)) {
        std::uint32_t pixel = 0;
        if (c != escape) {
            std::uint32_t g = 0;
            std::uint32_t r = 0;
            if (!in.U8(g) || !in.U8(r)) {
                return;
            }
            out.Put(Bgr(c, g, r));
            continue;
        }
        std::uint32_t a = 0;
        if (!in.U8(a)) {
            return;
        }
        if (a == kLiteralMark) {
            if (!ReadEscapedLiteral(in, escape, pixel)) {
                return;
            }
            out.Put(pixel);
            continue;
        }
        // One palette entry: a is the length. Several: a is the index and
        // the length follows.
        std::uint32_t index = 0;
        std::uint32_t length = a;
        if (paletteCount != 1) {
            index = a;
            if (!in.U8(length)) {
                return;
            }
        }
        if (length == 0 || index >= palette.size()) {
            return;
        }
        out.Repeat(palette[index], length);
    }
}

// Grey values v stand for v * 0x010101. In mixed mode a record E, 1, m
// switches between grey (m = 0) and colour values of three bytes.
void DecodeGreyRunLength(ByteReader in, std::uint32_t escape, bool mixed, Pixels out) {
    bool colour = false;
    auto value = [&](std::uint32_t first, std::uint32_t& pixel) {
        if (!colour) {
            pixel = first * 0x010101u;
            return true;
        }
        return ReadEscapedLiteral(in, first, pixel);
    };
    std::uint32_t c = 0;
    while (!out.Full() && in.U8(c)) {
        std::uint32_t pixel = 0;
        if (c != escape) {
            if (!value(c, pixel)) {
                return;
            }
            out.Put(pixel);
            continue;
        }
        std::uint32_t n = 0;
        if (!in.U8(n) || n == 0) {
            return;
        }
        std::uint32_t first = 0;
        if (n == kLiteralMark) {
            if (!value(escape, pixel)) {
                return;
            }
            out.Put(pixel);
        } else if (mixed && n == 1) {
            if (!in.U8(first)) {
                return;
            }
            colour = first != 0;
        } else {
            if (!in.U8(first) || !value(first, pixel)) {
                return;
            }
            out.Repeat(pixel, n);
        }
    }
}

void DecodeLzDirect(const ByteReader& in, const CSurface& surface) {
    CLZDecode lz;
    lz.Decode(reinterpret_cast<std::uint8_t*>(surface.bits), in.Data(),
              static_cast<std::uint32_t>(in.Size()),
              static_cast<std::uint32_t>(std::size_t(surface.width) * surface.height * 4));
}

// Blue, green and red planes one after the other; a stream cut short
// leaves the rest of the planes 0.
void DecodeLzPlanar(const ByteReader& in, const CSurface& surface) {
    std::size_t count = std::size_t(surface.width) * surface.height;
    CLZDecode lz;
    lz.Decode(nullptr, in.Data(), static_cast<std::uint32_t>(in.Size()),
              static_cast<std::uint32_t>(count * 3));
    const std::uint8_t* planes = lz.Output();
    if (planes == nullptr) {
        return;
    }
    for (std::size_t k = 0; k < count; ++k) {
        surface.bits[k] = Bgr(planes[k], planes[count + k], planes[2 * count + k]);
    }
}

void UndoHorizontalDelta(const CSurface& surface) {
    for (int row = 0; row < surface.height; ++row) {
        std::uint32_t* p = surface.bits + std::size_t(row) * surface.width;
        for (int x = 1; x < surface.width; ++x) {
            p[x] = (p[x - 1] ^ p[x]) & 0x00FFFFFFu;
        }
    }
}

void UndoVerticalDelta(const CSurface& surface) {
    for (int row = 1; row < surface.height; ++row) {
        std::uint32_t* p = surface.bits + std::size_t(row) * surface.width;
        const std::uint32_t* below = p - surface.width;
        for (int x = 0; x < surface.width; ++x) {
            p[x] = (below[x] ^ p[x]) & 0x00FFFFFFu;
        }
    }
}

} // namespace

void DecodeMg01Colour(const Mg01Entry& entry, CSurface& surface) {
    Pixels out(surface.bits, std::size_t(surface.width) * surface.height);
    std::uint32_t method = entry.flags & kMethodBits;
    switch (method) {
    case kRaw:
        DecodeRaw(entry.data, surface);
        break;
    case kRunLength:
        DecodeRunLength(entry.data, entry.escape, out);
        break;
    case kPaletteRunLength:
        DecodePaletteRunLength(entry.data, entry.escape, entry.count, out);
        break;
    case kGreyRunLength:
        DecodeGreyRunLength(entry.data, entry.escape, (entry.flags & kHorizontalDelta) != 0, out);
        return; // the delta flags mean something else here
    case kLzDirect:
        DecodeLzDirect(entry.data, surface);
        break;
    case kLzPlanar:
        DecodeLzPlanar(entry.data, surface);
        break;
    default: // 0x28 and 0x2C decode nothing
        break;
    }
    if ((entry.flags & kHorizontalDelta) != 0) {
        UndoHorizontalDelta(surface);
    }
    if ((entry.flags & kVerticalDelta) != 0) {
        UndoVerticalDelta(surface);
    }
}
