#include "blend_rows.h"

namespace {

std::uint32_t BlendAlphaScalar(std::uint32_t s, std::uint32_t d, const BlendParams&) {
    return pixel::BlendAlphaScalar(s, d);
}
std::uint32_t BlendKeyedOpacityScalar(std::uint32_t s, std::uint32_t d, const BlendParams& p) {
    return pixel::BlendKeyedOpacityScalar(s, d, p.opacity, p.key);
}
std::uint32_t BlendAddScalar(std::uint32_t s, std::uint32_t d, const BlendParams&) {
    return pixel::BlendAddScalar(s, d);
}

} // namespace

const RowLoops& ReferenceRowLoops() {
    using namespace rows;
    static const RowLoops loops{
        EachPixel<CopyKeyed>,         EachPixel<BlendOpacity>,
        EachPixel<BlendAlpha>,        EachPixel<BlendAlphaOpacity>,
        EachPixel<BlendKeyedOpacity>, EachPixel<MergeAlpha>,
        EachPixel<BlendAdd>,          PremultiplyEach,
    };
    return loops;
}

const RowLoops& ScalarRowLoops() {
    using namespace rows;
    static const RowLoops loops{
        EachPixel<CopyKeyed>,
        EachPixel<BlendOpacity>,
        EachPixel<BlendAlphaScalar>,
        EachPixel<BlendAlphaOpacity>,
        EachPixel<BlendKeyedOpacityScalar>,
        EachPixel<MergeAlpha>,
        EachPixel<BlendAddScalar>,
        PremultiplyEach,
    };
    return loops;
}
