// The vector loops: SSE2, four pixels per step, channels as 16-bit lanes
// (unpack, weigh, pack), giving exactly the per-pixel formulas' values with
// one multiply per lane. Tails run the per-pixel formulas. Without SSE2 the formula loops stand in
// and are left to the compiler's vectoriser.
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

// (s * w + d * (256 - w)) >> 8 on 16-bit lanes holding one channel each,
// for weights w in 0..256 given as 2w. Written as d + floor((s - d) * w /
// 256) it takes one signed high multiply: ((s - d) << 7) * 2w >> 16.
__m128i Lerp16(__m128i s16, __m128i d16, __m128i twiceWeight) {
    __m128i difference = _mm_slli_epi16(_mm_sub_epi16(s16, d16), 7);
    return _mm_add_epi16(d16, _mm_mulhi_epi16(difference, twiceWeight));
}

// Four pixels without unpacking: red and blue in the 16-bit halves of one
// word, alpha and green in those of another. twiceRB and twiceAG hold the
// weights (as 2w) for (red, blue) and (alpha, green) in the same places.
__m128i Lerp4(__m128i s, __m128i d, __m128i twiceRB, __m128i twiceAG) {
    const __m128i lowBytes = Splat(0x00FF00FFu);
    __m128i rb = Lerp16(_mm_and_si128(s, lowBytes), _mm_and_si128(d, lowBytes), twiceRB);
    __m128i ag = Lerp16(_mm_srli_epi16(s, 8), _mm_srli_epi16(d, 8), twiceAG);
    return _mm_or_si128(rb, _mm_slli_epi16(ag, 8));
}

// Per-pixel weights w (0..256, one per 32-bit lane) for the colour
// channels; alpha weighs 0 and keeps the destination's.
__m128i Lerp4Colour(__m128i s, __m128i d, __m128i weights) {
    __m128i twice = _mm_slli_epi32(weights, 1);
    return Lerp4(s, d, _mm_or_si128(twice, _mm_slli_epi32(twice, 16)), twice);
}

__m128i TwiceOpacity(std::uint32_t opacity) {
    return _mm_set1_epi16(static_cast<short>(2 * (opacity + 1)));
}

// The source alpha of each pixel in its 32-bit lane.
__m128i AlphaOf(__m128i s) {
    return _mm_srli_epi32(s, 24);
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

// Alpha weighs 256: the source's.
void BlendOpacityVector(std::uint32_t* d, const std::uint32_t* s, int n, const BlendParams& p) {
    const __m128i twiceRB = TwiceOpacity(p.opacity);
    const __m128i twiceAG = _mm_or_si128(_mm_srli_epi32(twiceRB, 16), Splat(512u << 16));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        Store(d + i, Lerp4(Load(s + i), Load(d + i), twiceRB, twiceAG));
    }
    rows::EachPixel<rows::BlendOpacity>(d + i, s + i, n - i, p);
}

// Weight a + 1, or 0 for a transparent pixel; runs of fully transparent or
// opaque pixels take shortcuts.
void BlendAlphaVector(std::uint32_t* d, const std::uint32_t* s, int n, const BlendParams& p) {
    const __m128i alpha = Splat(pixel::kAlpha);
    const __m128i zero = _mm_setzero_si128();
    const __m128i one = Splat(1);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = Load(s + i);
        __m128i a = AlphaOf(sv);
        __m128i transparent = _mm_cmpeq_epi32(a, zero);
        if (AllSet(transparent)) {
            continue;
        }
        __m128i dv = Load(d + i);
        if (AllSet(_mm_cmpeq_epi32(a, Splat(255)))) {
            Store(d + i, Select(alpha, dv, sv));
        } else {
            __m128i weights = _mm_add_epi32(_mm_add_epi32(a, one), transparent);
            Store(d + i, Lerp4Colour(sv, dv, weights));
        }
    }
    rows::EachPixel<rows::BlendAlpha>(d + i, s + i, n - i, p);
}

// Weight e = (a * (o + 1)) >> 8.
void BlendAlphaOpacityVector(std::uint32_t* d, const std::uint32_t* s, int n,
                             const BlendParams& p) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i o1 = Splat(p.opacity + 1);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = Load(s + i);
        __m128i a = AlphaOf(sv);
        if (AllSet(_mm_cmpeq_epi32(a, zero))) {
            continue;
        }
        __m128i e = _mm_srli_epi32(_mm_mullo_epi16(a, o1), 8);
        Store(d + i, Lerp4Colour(sv, Load(d + i), e));
    }
    rows::EachPixel<rows::BlendAlphaOpacity>(d + i, s + i, n - i, p);
}

void BlendKeyedOpacityVector(std::uint32_t* d, const std::uint32_t* s, int n,
                             const BlendParams& p) {
    const __m128i twice = TwiceOpacity(p.opacity);
    const __m128i key = Splat(p.key);
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i sv = Load(s + i);
        __m128i dv = Load(d + i);
        Store(d + i, Select(_mm_cmpeq_epi32(sv, key), dv, Lerp4(sv, dv, twice, twice)));
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

// x / 255 truncated, exact for x <= 65025: (x * 0x8081) >> 23.
__m128i Div255(__m128i x) {
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<short>(0x8081))), 7);
}

void PremultiplyVector(std::uint32_t* p, int n) {
    const __m128i alpha = Splat(pixel::kAlpha);
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        __m128i v = Load(p + i);
        __m128i va = _mm_and_si128(v, alpha);
        if (AllSet(_mm_cmpeq_epi32(va, alpha))) {
            continue;
        }
        if (AllSet(_mm_cmpeq_epi32(va, zero))) {
            Store(p + i, zero);
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
