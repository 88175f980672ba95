// The vector loops against the per-pixel formulas, over seeded random rows
// of odd lengths in which alpha and channel values 0 and 255 are frequent.
#include "imaging/blend_rows.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>
#include <string>
#include <vector>

namespace {

using Row = std::vector<std::uint32_t>;

std::uint32_t RandomChannel(std::mt19937& random) {
    switch (random() % 4) {
    case 0:
        return 0;
    case 1:
        return 255;
    default:
        return random() & 0xFF;
    }
}

Row RandomRow(std::mt19937& random, int n) {
    Row row(std::size_t(n), 0);
    for (std::uint32_t& p : row) {
        for (int shift = 0; shift < 32; shift += 8) {
            p |= RandomChannel(random) << shift;
        }
    }
    return row;
}

struct LoopCase {
    const char* name;
    RowLoop RowLoops::*loop;
};

// Test names and failures show the case by its name.
void PrintTo(const LoopCase& c, std::ostream* os) {
    *os << c.name;
}

class VectorLoops : public testing::TestWithParam<LoopCase> {};

TEST_P(VectorLoops, EqualTheReference) {
    std::mt19937 random(20240601);
    RowLoop vector = VectorRowLoops().*GetParam().loop;
    RowLoop reference = ReferenceRowLoops().*GetParam().loop;
    for (int round = 0; round < 400; ++round) {
        int n = 1 + int(random() % 37);
        Row src = RandomRow(random, n);
        Row dst = RandomRow(random, n);
        BlendParams params{std::uint32_t(random() % 256), 0};
        // Make some source pixels equal the key.
        params.key = src[random() % src.size()];
        Row expected = dst;
        Row got = dst;
        reference(expected.data(), src.data(), n, params);
        vector(got.data(), src.data(), n, params);
        ASSERT_EQ(got, expected) << "round " << round << " opacity " << params.opacity;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Operations, VectorLoops,
    testing::Values(LoopCase{"CopyKeyed", &RowLoops::copyKeyed},
                    LoopCase{"BlendOpacity", &RowLoops::blendOpacity},
                    LoopCase{"BlendAlpha", &RowLoops::blendAlpha},
                    LoopCase{"BlendAlphaOpacity", &RowLoops::blendAlphaOpacity},
                    LoopCase{"BlendKeyedOpacity", &RowLoops::blendKeyedOpacity},
                    LoopCase{"MergeAlpha", &RowLoops::mergeAlpha},
                    LoopCase{"BlendAdd", &RowLoops::blendAdd}),
    [](const testing::TestParamInfo<LoopCase>& info) { return std::string(info.param.name); });

// Every colour value against every alpha.
TEST(VectorLoops, PremultiplyEqualsTheReferenceEverywhere) {
    Row expected;
    for (std::uint32_t a = 0; a < 256; ++a) {
        for (std::uint32_t c = 0; c < 256; ++c) {
            expected.push_back(a << 24 | c << 16 | (255 - c) << 8 | (c * 7 & 0xFF));
        }
    }
    Row got = expected;
    ReferenceRowLoops().premultiply(expected.data(), int(expected.size()));
    VectorRowLoops().premultiply(got.data(), int(got.size()));
    EXPECT_EQ(got, expected);
}

TEST(PremultiplyFormula, WorkedExamples) {
    EXPECT_EQ(pixel::Premultiply(0x80FF8000), 0x80804000u);
    EXPECT_EQ(pixel::Premultiply(0x00FFFFFF), 0x00000000u);
    EXPECT_EQ(pixel::Premultiply(0xFF123456), 0xFF123456u);
}

} // namespace
