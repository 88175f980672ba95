// Finding chunks in a RIFF image held in memory: our multimedia-file
// descent, bounded by the image, so a truncated or lying chunk size never
// leads a read outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Four characters as a little-endian 32-bit chunk id.
constexpr std::uint32_t FourCC(const char (&text)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(text[3])) << 24;
}

struct RiffChunk {
    std::uint32_t id = 0;
    std::size_t dataOffset = 0; // first data byte, from the image's start
    std::uint32_t size = 0;     // as declared
    std::size_t available = 0;  // data bytes the image really holds

    std::size_t DataEnd() const { return dataOffset + available; }
};

std::uint16_t ReadLe16(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t ReadLe32(std::span<const std::uint8_t> bytes, std::size_t offset);

// The first chunk with this id among the word-aligned chunks laid out from
// begin up to end (end is clamped to the image).
std::optional<RiffChunk> FindChunk(std::span<const std::uint8_t> image, std::size_t begin,
                                   std::size_t end, std::uint32_t id);
// The first top-level "RIFF" chunk whose form type (its first four data
// bytes) is formType.
std::optional<RiffChunk> FindRiffForm(std::span<const std::uint8_t> image, std::uint32_t formType);
