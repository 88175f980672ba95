#include "png_file.h"

#include "imaging/surface.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string_view>
#include <vector>

namespace {

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(std::uint8_t(value >> shift));
    }
}

// Length, type, data, then the CRC of type and data.
void PutChunk(std::vector<std::uint8_t>& out, std::string_view type,
              const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, std::uint32_t(data.size()));
    std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0, out.data() + typeAt, uInt(out.size() - typeAt));
    PutBigEndian(out, std::uint32_t(crc));
}

} // namespace

bool WritePng(const std::string& path, const CSurface& surface) {
    // Each row: filter byte 0, then R, G, B, A per pixel, top row first.
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < surface.height; ++y) {
        raw.push_back(0);
        const std::uint32_t* row = surface.Row(y);
        for (int x = 0; x < surface.width; ++x) {
            for (int shift : {16, 8, 0, 24}) {
                raw.push_back(std::uint8_t(row[x] >> shift));
            }
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::vector<std::uint8_t> packed(packedSize);
    if (compress(packed.data(), &packedSize, raw.data(), uLong(raw.size())) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::vector<std::uint8_t> header;
    PutBigEndian(header, std::uint32_t(surface.width));
    PutBigEndian(header, std::uint32_t(surface.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // depth 8, RGBA, deflate, no filter, no interlace

    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", packed);
    PutChunk(file, "IEND", {});
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return bool(out);
}
