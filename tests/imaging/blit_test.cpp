#include "imaging/surface.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>

namespace {

// Surfaces filled from display rows, read back the same way.
void Fill(CSurface& s, int w, int h, std::uint32_t value) {
    ASSERT_EQ(s.Create(w, h), 1);
    for (int k = 0; k < w * h; ++k) {
        s.bits[k] = value;
    }
}

// Source pixels that name their display position: 0xFF00yyxx.
void FillNumbered(CSurface& s, int w, int h) {
    ASSERT_EQ(s.Create(w, h), 1);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            s.Row(y)[x] = 0xFF000000u | std::uint32_t(y) << 8 | std::uint32_t(x);
        }
    }
}

using BlitFn = void (*)(CSurface*, const CSurface*, int, int, int, int, int, int);

struct PixelCase {
    const char* name;
    BlitFn blit;
    int vector; // which loops: 1 vector, 0 scalar
    int opacity;
    std::uint32_t key;
    std::uint32_t src;
    std::uint32_t dst;
    std::uint32_t result;
};

// Test names and failures show the case by its name.
void PrintTo(const PixelCase& c, std::ostream* os) {
    *os << c.name;
}

class BlitPixel : public testing::TestWithParam<PixelCase> {};

TEST_P(BlitPixel, GivesTheExactResult) {
    const PixelCase& c = GetParam();
    CSurface::SetVectorLoops(c.vector);
    // Wide enough that the vector body and the per-pixel tail both run.
    CSurface src;
    CSurface dst;
    Fill(src, 7, 1, c.src);
    Fill(dst, 7, 1, c.dst);
    src.opacity = c.opacity;
    src.colorKey = c.key;
    c.blit(&dst, &src, 0, 0, 7, 1, 0, 0);
    for (int x = 0; x < 7; ++x) {
        EXPECT_EQ(dst.GetPixel(x, 0), c.result) << std::hex << "x " << x;
    }
    CSurface::ProbeBlendLoops();
}

INSTANTIATE_TEST_SUITE_P(
    Formulas, BlitPixel,
    testing::Values(PixelCase{"OpacityHalfRedOverBlue", CSurface::BlendOpacity, 1, 128, 0,
                              0x00FF0000, 0x000000FF, 0x0080007E},
                    PixelCase{"OpacityTakesTheSourceAlpha", CSurface::BlendOpacity, 1, 128, 0,
                              0x40FF0000, 0xC00000FF, 0x4080007E},
                    PixelCase{"OpacityZeroDoesNothing", CSurface::BlendOpacity, 1, 0, 0, 0x11223344,
                              0x55667788, 0x55667788},
                    PixelCase{"OpacityFullCopies", CSurface::BlendOpacity, 1, 255, 0, 0x11223344,
                              0x55667788, 0x11223344},
                    PixelCase{"AlphaOpaqueCopiesColourKeepsAlpha", CSurface::BlendAlpha, 1, 255, 0,
                              0xFF123456, 0x80ABCDEF, 0x80123456},
                    PixelCase{"AlphaTransparentLeavesDestination", CSurface::BlendAlpha, 1, 255, 0,
                              0x00123456, 0x80ABCDEF, 0x80ABCDEF},
                    // a = 128: (255 * 129 + 0 * 127) >> 8 = 128, (0 * 129 + 255 * 127) >> 8 = 126.
                    PixelCase{"AlphaHalf", CSurface::BlendAlpha, 1, 255, 0, 0x80FF0000, 0x330000FF,
                              0x3380007E},
                    PixelCase{"AlphaScalarOpaqueKeepsATrace", CSurface::BlendAlpha, 0, 255, 0,
                              0xFFFFFFFF, 0x80000000, 0x80FEFEFE},
                    PixelCase{"AlphaScalarHalf", CSurface::BlendAlpha, 0, 255, 0, 0x80FF0000,
                              0x330000FF, 0x337F007F},
                    // a = 255, o = 127: e = (255 * 128) >> 8 = 127.
                    PixelCase{"AlphaOpacityE127", CSurface::BlendAlphaOpacity, 1, 127, 0,
                              0xFFFF0000, 0x220000FF, 0x227E0080},
                    PixelCase{"AlphaOpacityESkipsAtZero", CSurface::BlendAlphaOpacity, 1, 200, 0,
                              0x01FF0000, 0x220000FF, 0x220000FF},
                    PixelCase{"AlphaOpacityFullIsBlendAlpha", CSurface::BlendAlphaOpacity, 1, 255,
                              0, 0xFF123456, 0x80ABCDEF, 0x80123456},
                    PixelCase{"KeyedOpacityBlendsAlphaToo", CSurface::BlendKeyedOpacity, 1, 128, 7,
                              0xFFFF0000, 0x000000FF, 0x8080007E},
                    PixelCase{"KeyedOpacityScalarClearsAlpha", CSurface::BlendKeyedOpacity, 0, 128,
                              7, 0xFFFF0000, 0xFF0000FF, 0x0080007E},
                    PixelCase{"KeyedOpacitySkipsTheKey", CSurface::BlendKeyedOpacity, 1, 128,
                              0x00FF0000, 0x00FF0000, 0x000000FF, 0x000000FF},
                    PixelCase{"KeyedOpacityFullIsCopyKeyed", CSurface::BlendKeyedOpacity, 1, 255, 1,
                              0x00FF0000, 0x000000FF, 0x00FF0000},
                    PixelCase{"CopyKeyedZeroSkipsOnlyZero", CSurface::CopyKeyed, 1, 255, 0,
                              0x00000000, 0x12345678, 0x12345678},
                    PixelCase{"CopyKeyedZeroCopiesBlackWithAlpha", CSurface::CopyKeyed, 1, 255, 0,
                              0x01000000, 0x12345678, 0x01000000},
                    PixelCase{"AddSaturates", CSurface::BlendAdd, 1, 255, 0, 0x80F01020, 0x90203040,
                              0xFFFF4060},
                    PixelCase{"AddScalarClearsAlpha", CSurface::BlendAdd, 0, 255, 0, 0x80F01020,
                              0x90203040, 0x00FF4060},
                    PixelCase{"MergeAlphaRaises", CSurface::MergeAlpha, 1, 255, 0, 0x90FFFFFF,
                              0x40123456, 0x90123456},
                    PixelCase{"MergeAlphaNeverLowers", CSurface::MergeAlpha, 1, 255, 0, 0x10FFFFFF,
                              0x40123456, 0x40123456}),
    [](const testing::TestParamInfo<PixelCase>& info) { return std::string(info.param.name); });

TEST(BlitClipping, LeftOverhangDrawsTheLaterColumns) {
    CSurface src;
    CSurface dst;
    FillNumbered(src, 6, 2);
    Fill(dst, 4, 4, 0);
    CSurface::Copy(&dst, &src, -3, 1, 6, 2, 0, 0);
    EXPECT_EQ(dst.GetPixel(0, 1), 0xFF000003u);
    EXPECT_EQ(dst.GetPixel(2, 2), 0xFF000105u);
    EXPECT_EQ(dst.GetPixel(3, 1), 0u);
    EXPECT_EQ(dst.GetPixel(0, 0), 0u);
}

TEST(BlitClipping, BottomOverhangDrawsTheUpperRows) {
    CSurface::ProbeBlendLoops();
    CSurface src;
    CSurface dst;
    FillNumbered(src, 2, 3);
    Fill(dst, 2, 4, 0);
    CSurface::BlendAlpha(&dst, &src, 0, 2, 2, 3, 0, 0);
    EXPECT_EQ(dst.GetPixel(1, 2), 0x00000001u); // alpha of the destination kept
    EXPECT_EQ(dst.GetPixel(1, 3), 0x00000101u);
    EXPECT_EQ(dst.GetPixel(0, 1), 0u);
}

TEST(BlitClipping, TopOverhangAdvancesTheSourceRows) {
    CSurface src;
    CSurface dst;
    FillNumbered(src, 2, 3);
    Fill(dst, 2, 2, 0);
    CSurface::Copy(&dst, &src, 0, -2, 2, 3, 0, 0);
    EXPECT_EQ(dst.GetPixel(0, 0), 0xFF000200u);
    EXPECT_EQ(dst.GetPixel(0, 1), 0u);
}

TEST(BlitClipping, NothingOutsideOrEmpty) {
    CSurface src;
    CSurface dst;
    FillNumbered(src, 2, 2);
    Fill(dst, 3, 3, 0x11);
    for (BlitFn blit : {CSurface::Copy, CSurface::BlendAlpha, CSurface::BlendAdd}) {
        blit(&dst, &src, 3, 0, 2, 2, 0, 0);
        blit(&dst, &src, -2, 0, 2, 2, 0, 0);
        blit(&dst, &src, 0, 3, 2, 2, 0, 0);
        blit(&dst, &src, 0, 0, 0, 2, 0, 0);
        blit(&dst, &src, 0, 0, 2, -1, 0, 0);
    }
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(dst.bits[k], 0x11u);
    }
}

// A source rectangle reaching past the source is cut to it, so only pixels
// that exist are read.
TEST(BlitClipping, SourceRectangleIsCutToTheSource) {
    CSurface src;
    CSurface dst;
    FillNumbered(src, 2, 2);
    Fill(dst, 4, 4, 0x11);
    CSurface::Copy(&dst, &src, 0, 0, 4, 4, 1, -1);
    EXPECT_EQ(dst.GetPixel(0, 1), 0xFF000001u);
    EXPECT_EQ(dst.GetPixel(0, 2), 0xFF000101u);
    EXPECT_EQ(dst.GetPixel(0, 0), 0x11u);
    EXPECT_EQ(dst.GetPixel(1, 1), 0x11u);
}

TEST(BlitClipping, MergeAlphaOffTheSourceChangesNothing) {
    CSurface src;
    CSurface dst;
    Fill(src, 2, 2, 0xFF000000);
    Fill(dst, 4, 1, 0x10ABCDEF);
    CSurface::MergeAlpha(&dst, &src, 0, 0, 4, 1, -1, 0);
    EXPECT_EQ(dst.GetPixel(0, 0), 0x10ABCDEFu);
    EXPECT_EQ(dst.GetPixel(1, 0), 0xFFABCDEFu);
    EXPECT_EQ(dst.GetPixel(2, 0), 0xFFABCDEFu);
    EXPECT_EQ(dst.GetPixel(3, 0), 0x10ABCDEFu);
}

} // namespace
