#include "riff_chunks.h"

#include <algorithm>

std::uint16_t ReadLe16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) |
           static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::optional<RiffChunk> FindChunk(std::span<const std::uint8_t> image, std::size_t begin,
                                   std::size_t end, std::uint32_t id) {
    end = std::min(end, image.size());
    std::size_t at = begin;
    while (at <= end && end - at >= 8) {
        RiffChunk chunk;
        chunk.id = ReadLe32(image, at);
        chunk.size = ReadLe32(image, at + 4);
        chunk.dataOffset = at + 8;
        chunk.available = std::min<std::size_t>(chunk.size, end - chunk.dataOffset);
        if (chunk.id == id) {
            return chunk;
        }
        // Chunks start on even offsets: an odd size is followed by a pad byte.
        at = chunk.dataOffset + chunk.size + (chunk.size & 1);
    }
    return std::nullopt;
}

std::optional<RiffChunk> FindRiffForm(std::span<const std::uint8_t> image, std::uint32_t formType) {
    std::size_t at = 0;
    while (auto chunk = FindChunk(image, at, image.size(), FourCC("RIFF"))) {
        if (chunk->available >= 4 && ReadLe32(image, chunk->dataOffset) == formType) {
            return chunk;
        }
        at = chunk->dataOffset + chunk->size + (chunk->size & 1);
    }
    return std::nullopt;
}
