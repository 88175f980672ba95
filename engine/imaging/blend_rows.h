// Row loops of the blits: one row of n pixels of source s combined into
// destination d. Three sets: the reference (the per-pixel formulas one by
// one), the vector loops that compute the same values faster, and the
// scalar column for processors without vector loops.
#pragma once

#include "pixel_formulas.h"

#include <cstdint>

struct BlendParams {
    std::uint32_t opacity = 255;
    std::uint32_t key = 0;
};

using RowLoop = void (*)(std::uint32_t* d, const std::uint32_t* s, int n, const BlendParams& p);
using PixelLoop = void (*)(std::uint32_t* p, int n);

struct RowLoops {
    RowLoop copyKeyed;
    RowLoop blendOpacity;
    RowLoop blendAlpha;
    RowLoop blendAlphaOpacity;
    RowLoop blendKeyedOpacity;
    RowLoop mergeAlpha;
    RowLoop blendAdd;
    PixelLoop premultiply;
};

const RowLoops& ReferenceRowLoops();
const RowLoops& VectorRowLoops();
const RowLoops& ScalarRowLoops();

namespace rows {

// The formulas with the row loops' common parameters.
inline std::uint32_t CopyKeyed(std::uint32_t s, std::uint32_t d, const BlendParams& p) {
    return pixel::CopyKeyed(s, d, p.key);
}
inline std::uint32_t BlendOpacity(std::uint32_t s, std::uint32_t d, const BlendParams& p) {
    return pixel::BlendOpacity(s, d, p.opacity);
}
inline std::uint32_t BlendAlpha(std::uint32_t s, std::uint32_t d, const BlendParams&) {
    return pixel::BlendAlpha(s, d);
}
inline std::uint32_t BlendAlphaOpacity(std::uint32_t s, std::uint32_t d, const BlendParams& p) {
    return pixel::BlendAlphaOpacity(s, d, p.opacity);
}
inline std::uint32_t BlendKeyedOpacity(std::uint32_t s, std::uint32_t d, const BlendParams& p) {
    return pixel::BlendKeyedOpacity(s, d, p.opacity, p.key);
}
inline std::uint32_t MergeAlpha(std::uint32_t s, std::uint32_t d, const BlendParams&) {
    return pixel::MergeAlpha(s, d);
}
inline std::uint32_t BlendAdd(std::uint32_t s, std::uint32_t d, const BlendParams&) {
    return pixel::BlendAdd(s, d);
}

template <std::uint32_t (*Formula)(std::uint32_t, std::uint32_t, const BlendParams&)>
void EachPixel(std::uint32_t* d, const std::uint32_t* s, int n, const BlendParams& p) {
    for (int i = 0; i < n; ++i) {
        d[i] = Formula(s[i], d[i], p);
    }
}

inline void PremultiplyEach(std::uint32_t* p, int n) {
    for (int i = 0; i < n; ++i) {
        p[i] = pixel::Premultiply(p[i]);
    }
}

} // namespace rows
