// The MG01 container: a header, a table of entry offsets, and entries of a
// 20-byte header and data. The first entry is the colour entry; the first
// entry flagged as a plane holds the alpha when the colour entry asks.
#include "image_decoders.h"
#include "surface.h"

#include <vector>

namespace {

constexpr std::uint32_t kHasPlane = 0x80;
constexpr std::uint32_t kIsPlane = 0x10;
constexpr std::size_t kEntryHeader = 20;

bool ReadEntry(const ByteReader& file, std::size_t offset, Mg01Entry& entry) {
    ByteReader header = file.Slice(offset, kEntryHeader);
    std::uint32_t reserved = 0;
    std::uint32_t length = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!header.U16(reserved) || !header.U8(entry.flags) || !header.Skip(5) ||
        !header.U32(length) || !header.U16(width) || !header.U16(height) ||
        !header.U8(entry.bitsPerPixel) || !header.U8(entry.count) || !header.U8(entry.escape)) {
        return false;
    }
    entry.width = static_cast<int>(width);
    entry.height = static_cast<int>(height);
    std::size_t dataLength = length > kEntryHeader ? length - kEntryHeader : 0;
    entry.data = file.Slice(offset + kEntryHeader, dataLength);
    return true;
}

// Offset of entry k: the base plus its table value.
bool EntryOffset(const ByteReader& file, std::size_t table, std::size_t base, std::size_t k,
                 std::size_t& offset) {
    ByteReader slot = file.Slice(table + 4 * k, 4);
    std::uint32_t value = 0;
    if (!slot.U32(value)) {
        return false;
    }
    offset = base + value;
    return true;
}

void ApplyPlane(const ByteReader& file, std::size_t table, std::size_t base, std::size_t count,
                CSurface& surface) {
    for (std::size_t k = 0; k < count; ++k) {
        std::size_t offset = 0;
        Mg01Entry entry;
        if (!EntryOffset(file, table, base, k, offset)) {
            return;
        }
        if (!ReadEntry(file, offset, entry) || (entry.flags & kIsPlane) == 0) {
            continue;
        }
        std::size_t total = std::size_t(surface.width) * surface.height;
        std::vector<std::uint8_t> plane(total, 0);
        DecodeMg01Plane(entry, plane.data(),
                        std::min(total, std::size_t(entry.width) * entry.height));
        surface.ApplyAlphaPlane(plane.data());
        return;
    }
}

} // namespace

int DecodeMg01(CSurface& surface, ByteReader file) {
    std::uint32_t magic = 0;
    std::uint32_t version = 0;
    std::uint32_t count = 0;
    std::uint32_t table = 0;
    std::uint32_t base = 0;
    // A version above 256 adds four values after the header that nothing
    // uses; the table lies wherever the header says in either case.
    if (!file.U32(magic) || !file.U32(version) || !file.U16(count) || !file.U16(table) ||
        !file.U16(base) || count == 0) {
        return 0;
    }
    std::size_t colourOffset = 0;
    Mg01Entry colour;
    if (!EntryOffset(file, table, base, 0, colourOffset) ||
        !ReadEntry(file, colourOffset, colour) ||
        surface.Create(colour.width, colour.height) == 0) {
        return 0;
    }
    DecodeMg01Colour(colour, surface);
    if ((colour.flags & kHasPlane) != 0) {
        ApplyPlane(file, table, base, count, surface);
    }
    return 1;
}
