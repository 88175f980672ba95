// Writes artwork as MG01: a colour entry, plus an alpha plane entry when
// the picture has transparency. By default every colour method (with and
// without the XOR deltas) and every plane encoding is tried and the
// smallest kept; a method or encoding can be forced by name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Straight-alpha 0xAARRGGBB pixels, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct Mg01Options {
    // Colour method: raw, rle, palette, grey, mixed, lz1..lz3, planar1..planar3,
    // optionally with a delta suffix +h, +v or +hv (not for grey and mixed).
    // Empty: the smallest.
    std::string method;
    // Plane encoding: raw, pairs, nibbles, markers. Empty: the smallest.
    std::string plane;
};

// The colour method names, without delta suffixes.
const std::vector<std::string>& Mg01ColourMethods();
const std::vector<std::string>& Mg01PlaneEncodings();

// The file, or an empty block with error set when the picture or a forced
// method does not fit the format.
std::vector<std::uint8_t> EncodeMg01(const Picture& picture, const Mg01Options& options,
                                     std::string& error);
