// Small files tests write into a headless program folder: 32-bit TGA
// pictures (which the image loader accepts under any name) and PCM WAVE
// sounds.
#pragma once

#include "base/text16.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Rows are stored bottom first, as the loader reads them; pixel (x, y) of
// the picture is colour(x, y), 0xAARRGGBB.
template <typename Colour>
void WriteTga(const std::u16string& path, int width, int height, Colour colour) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[2] = 2; // uncompressed true colour
    bytes[12] = static_cast<std::uint8_t>(width);
    bytes[13] = static_cast<std::uint8_t>(width >> 8);
    bytes[14] = static_cast<std::uint8_t>(height);
    bytes[15] = static_cast<std::uint8_t>(height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x08; // 8 alpha bits
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = colour(x, y);
            for (int k = 0; k < 4; ++k) {
                bytes.push_back(static_cast<std::uint8_t>(p >> (8 * k)));
            }
        }
    }
    std::ofstream(Utf16ToUtf8(path), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A mono 16-bit 22050 Hz WAVE of the given samples.
inline void WriteWave(const std::u16string& path, const std::vector<std::int16_t>& samples) {
    auto le32 = [](std::string& out, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            out.push_back(static_cast<char>(v >> (8 * k)));
        }
    };
    auto le16 = [](std::string& out, std::uint16_t v) {
        out.push_back(static_cast<char>(v));
        out.push_back(static_cast<char>(v >> 8));
    };
    std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    le32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    le32(out, 16);
    le16(out, 1);
    le16(out, 1);
    le32(out, 22050);
    le32(out, 44100);
    le16(out, 2);
    le16(out, 16);
    out += "data";
    le32(out, dataBytes);
    for (std::int16_t s : samples) {
        le16(out, static_cast<std::uint16_t>(s));
    }
    std::ofstream(Utf16ToUtf8(path), std::ios::binary) << out;
}
