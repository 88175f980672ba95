// Each per-pixel formula of the blits, written once. The vector loops
// compute the same values several pixels at a time and call these for
// their heads and tails; tests hold the vector loops against them.
#pragma once

#include <cstdint>

namespace pixel {

inline constexpr std::uint32_t kAlpha = 0xFF000000u;
inline constexpr std::uint32_t kColour = 0x00FFFFFFu;

inline std::uint32_t AlphaOf(std::uint32_t p) {
    return p >> 24;
}

// (s * ws + d * wd) >> 8 for B, G, R, with ws + wd <= 256: red and blue
// share one multiply, each channel ending in its own byte after the shift.
inline std::uint32_t MixColour(std::uint32_t s, std::uint32_t d, std::uint32_t ws,
                               std::uint32_t wd) {
    std::uint32_t rb = ((s & 0x00FF00FFu) * ws + (d & 0x00FF00FFu) * wd) >> 8 & 0x00FF00FFu;
    std::uint32_t g = ((s & 0x0000FF00u) * ws + (d & 0x0000FF00u) * wd) >> 8 & 0x0000FF00u;
    return rb | g;
}

// The same for all four channels.
inline std::uint32_t MixAll(std::uint32_t s, std::uint32_t d, std::uint32_t ws, std::uint32_t wd) {
    std::uint32_t a = (AlphaOf(s) * ws + AlphaOf(d) * wd) >> 8;
    return MixColour(s, d, ws, wd) | a << 24;
}

inline std::uint32_t WithAlphaOf(std::uint32_t colour, std::uint32_t alphaSource) {
    return (colour & kColour) | (alphaSource & kAlpha);
}

// --- The vector column: the behaviour the engine reproduces ----------------

inline std::uint32_t BlendOpacity(std::uint32_t s, std::uint32_t d, std::uint32_t o) {
    return MixColour(s, d, o + 1, 255 - o) | (s & kAlpha);
}

// Alpha 0 leaves d, alpha 255 takes the colour of s exactly (weight 256).
inline std::uint32_t BlendAlpha(std::uint32_t s, std::uint32_t d) {
    std::uint32_t a = AlphaOf(s);
    std::uint32_t ws = a == 0 ? 0 : a + 1;
    return MixColour(s, d, ws, 256 - ws) | (d & kAlpha);
}

inline std::uint32_t BlendAlphaOpacity(std::uint32_t s, std::uint32_t d, std::uint32_t o) {
    std::uint32_t e = AlphaOf(s) * (o + 1) >> 8;
    return MixColour(s, d, e, 256 - e) | (d & kAlpha);
}

inline std::uint32_t BlendKeyedOpacity(std::uint32_t s, std::uint32_t d, std::uint32_t o,
                                       std::uint32_t key) {
    return s == key ? d : MixAll(s, d, o + 1, 255 - o);
}

inline std::uint32_t AddSaturated(std::uint32_t s, std::uint32_t d) {
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        std::uint32_t sum = (s >> shift & 0xFF) + (d >> shift & 0xFF);
        result |= (sum > 255 ? 255 : sum) << shift;
    }
    return result;
}

inline std::uint32_t BlendAdd(std::uint32_t s, std::uint32_t d) {
    return AddSaturated(s, d);
}

inline std::uint32_t CopyKeyed(std::uint32_t s, std::uint32_t d, std::uint32_t key) {
    return s == key ? d : s;
}

// Each colour channel times alpha / 255, truncated; alpha 0 clears the
// colour and 255 keeps it, both without a special case.
inline std::uint32_t Premultiply(std::uint32_t p) {
    std::uint32_t a = AlphaOf(p);
    std::uint32_t b = (p & 0xFF) * a / 255;
    std::uint32_t g = (p >> 8 & 0xFF) * a / 255;
    std::uint32_t r = (p >> 16 & 0xFF) * a / 255;
    return b | g << 8 | r << 16 | (p & kAlpha);
}

inline std::uint32_t MergeAlpha(std::uint32_t s, std::uint32_t d) {
    return AlphaOf(s) > AlphaOf(d) ? WithAlphaOf(d, s) : d;
}

// --- The scalar column: processors without the vector loops ---------------

// No special case for alpha 255: it keeps 1/256 of the destination.
inline std::uint32_t BlendAlphaScalar(std::uint32_t s, std::uint32_t d) {
    std::uint32_t a = AlphaOf(s);
    return a == 0 ? d : MixColour(s, d, a, 256 - a) | (d & kAlpha);
}

inline std::uint32_t BlendKeyedOpacityScalar(std::uint32_t s, std::uint32_t d, std::uint32_t o,
                                             std::uint32_t key) {
    return s == key ? d : MixColour(s, d, o + 1, 255 - o);
}

inline std::uint32_t BlendAddScalar(std::uint32_t s, std::uint32_t d) {
    return AddSaturated(s, d) & kColour;
}

} // namespace pixel
