// The vector loops: SSE2, four pixels per step, channels as 16-bit lanes
// (unpack, multiply by the two weights, add, shift right by 8, pack). Tails
// run the per-pixel formulas. Without SSE2 the formula loops stand in and
// are left to the compiler's vectoriser.
#include "blend_rows.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace {

__m128i Load(const std::uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
void Store(std::uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
__m128i Splat(std::uint32_t v) {
    return _mm_set1_epi32(static_cast<int>(v));
}
__m128i Select(__m128i mask, __m128i ifSet, __m128i ifClear) {
    return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, ifClear));
}
// All four lanes of a 32-bit comparison set.
bool AllSet(__m128i mask) {
    return _mm_movemask_epi8(mask) == 0xFFFF;
}

// The alpha lane of each pixel copied into its four lanes.
__m128i AlphaLanes(__m128i p16) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(p16, 0xFF), 0xFF);
}

// (s * ws + d * wd) >> 8 on the 16-bit lanes of two pixels.
__m128i Mix16(__m128i s16, __m128i d16, __m128i ws, __m128i wd) {
    return _mm_srli_epi16(_mm_adds_epu16(_mm_mullo_epi16(s16, ws), _mm_mullo_epi16(d16, wd)), 8);
}

// Weights for one pair of pixels from their 16-bit lanes.
template <typename Weights> __m128i MixPair(__m128i s16, __m128i d16, Weights weights) {
    __m128i ws = weights(s16);
    return Mix16(s16, d16, ws, _mm_sub_epi16(_mm_set1_epi16(256), ws));
}

// Four pixels, weights per pixel computed from the source lanes.
template <typename Weights> __m128i Mix4(__m128i s, __m128i d, Weights weights) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = MixPair(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), weights);
    __m128i hi = MixPair(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), weights);
    return _mm_packus_epi16(lo, hi);
}

// Four pixels, the same weights (ws, wd) for all.
__m128i Mix4Const(__m128i s, __m128i d, __m128i ws, __m128i wd) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = Mix16(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero), ws, wd);
    __m128i hi = Mix16(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero), ws, wd);
    return _mm_packus_epi16(lo, hi);
}

void CopyKeyedVector(std::uint32_t* d, const std::uint32_t* s, int n, const BlendParams& p) {
    const __m128i key = Splat(p.key);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = Load(s + i);
        Store(d + i, Select(_mm_cmpeq_epi32(sv, key), Load(d + i), sv));
    }
    rows::EachPixel<rows::CopyKeyed>(d + i, s + i, n - i, p);
}

void BlendOpacityVector(std::uint32_t* d, const std::uint32_t* s, int n, const BlendParams& p) {
    const __m128i ws = _mm_set1_epi16(static_cast<short>(p.opacity + 1));
    const __m128i wd = _mm_set1_epi16(static_cast<short>(255 - p.opacity));
    const __m128i alpha = Splat(pixel::kAlpha);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = Load(s + i);
        Store(d + i, Select(alpha, sv, Mix4Const(sv, Load(d + i), ws, wd)));
    }
    rows::EachPixel<rows::BlendOpacity>(d + i, s + i, n - i, p);
}

// Weight a + 1, or 0 for a transparent pixel.
__m128i AlphaWeights(__m128i s16) {
    __m128i a = AlphaLanes(s16);
    __m128i transparent = _mm_cmpeq_epi16(a, _mm_setzero_si128());
    return _mm_add_epi16(_mm_add_epi16(a, _mm_set1_epi16(1)), transparent);
}

void BlendAlphaVector(std::uint32_t* d, const std::uint32_t* s, int n, const BlendParams& p) {
    const __m128i alpha = Splat(pixel::kAlpha);
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = Load(s + i);
        __m128i sa = _mm_and_si128(sv, alpha);
        if (AllSet(_mm_cmpeq_epi32(sa, zero))) {
            continue;
        }
        __m128i dv = Load(d + i);
        __m128i colour = AllSet(_mm_cmpeq_epi32(sa, alpha)) ? sv : Mix4(sv, dv, AlphaWeights);
        Store(d + i, Select(alpha, dv, colour));
    }
    rows::EachPixel<rows::BlendAlpha>(d + i, s + i, n - i, p);
}

void BlendAlphaOpacityVector(std::uint32_t* d, const std::uint32_t* s, int n,
                             const BlendParams& p) {
    const __m128i alpha = Splat(pixel::kAlpha);
    const __m128i zero = _mm_setzero_si128();
    const __m128i o1 = _mm_set1_epi16(static_cast<short>(p.opacity + 1));
    // e = (a * (o + 1)) >> 8
    auto weights = [o1](__m128i s16) {
        return _mm_srli_epi16(_mm_mullo_epi16(AlphaLanes(s16), o1), 8);
    };
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = Load(s + i);
        if (AllSet(_mm_cmpeq_epi32(_mm_and_si128(sv, alpha), zero))) {
            continue;
        }
        __m128i dv = Load(d + i);
        Store(d + i, Select(alpha, dv, Mix4(sv, dv, weights)));
    }
    rows::EachPixel<rows::BlendAlphaOpacity>(d + i, s + i, n - i, p);
}

void BlendKeyedOpacityVector(std::uint32_t* d, const std::uint32_t* s, int n,
                             const BlendParams& p) {
    const __m128i ws = _mm_set1_epi16(static_cast<short>(p.opacity + 1));
    const __m128i wd = _mm_set1_epi16(static_cast<short>(255 - p.opacity));
    const __m128i key = Splat(p.key);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = Load(s + i);
        __m128i dv = Load(d + i);
        Store(d + i, Select(_mm_cmpeq_epi32(sv, key), dv, Mix4Const(sv, dv, ws, wd)));
    }
    rows::EachPixel<rows::BlendKeyedOpacity>(d + i, s + i, n - i, p);
}

void BlendAddVector(std::uint32_t* d, const std::uint32_t* s, int n, const BlendParams& p) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        Store(d + i, _mm_adds_epu8(Load(s + i), Load(d + i)));
    }
    rows::EachPixel<rows::BlendAdd>(d + i, s + i, n - i, p);
}

// x / 255 truncated, exact for x <= 65025: (x + 1 + (x >> 8)) >> 8.
__m128i Div255(__m128i x) {
    __m128i sum = _mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8));
    return _mm_srli_epi16(sum, 8);
}

void PremultiplyVector(std::uint32_t* p, int n) {
    const __m128i alpha = Splat(pixel::kAlpha);
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i v = Load(p + i);
        if (AllSet(_mm_cmpeq_epi32(_mm_and_si128(v, alpha), alpha))) {
            continue;
        }
        __m128i lo = _mm_unpacklo_epi8(v, zero);
        __m128i hi = _mm_unpackhi_epi8(v, zero);
        lo = Div255(_mm_mullo_epi16(lo, AlphaLanes(lo)));
        hi = Div255(_mm_mullo_epi16(hi, AlphaLanes(hi)));
        Store(p + i, Select(alpha, v, _mm_packus_epi16(lo, hi)));
    }
    rows::PremultiplyEach(p + i, n - i);
}

} // namespace

const RowLoops& VectorRowLoops() {
    static const RowLoops loops{
        CopyKeyedVector,         BlendOpacityVector,      BlendAlphaVector,
        BlendAlphaOpacityVector, BlendKeyedOpacityVector, rows::EachPixel<rows::MergeAlpha>,
        BlendAddVector,          PremultiplyVector,
    };
    return loops;
}

#else

const RowLoops& VectorRowLoops() {
    return ReferenceRowLoops();
}

#endif
