#include "imaging/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

void Fill(CSurface& s, int w, int h, std::uint32_t value) {
    ASSERT_EQ(s.Create(w, h), 1);
    for (int k = 0; k < w * h; ++k) {
        s.bits[k] = value;
    }
}

TEST(SampleOver, WeightsAddUpTo255) {
    CSurface src;
    Fill(src, 2, 1, 0x80FF0000);
    src.Row(0)[1] = 0x00FFFFFF;
    // Red (255 * 128) >> 8 = 127, blue (255 * 127) >> 8 = 126, alpha of D.
    EXPECT_EQ(CSurface::SampleOver(&src, 0, 0, 0x400000FF), 0x407F007Eu);
    EXPECT_EQ(CSurface::SampleOver(&src, 1, 0, 0x40123456), 0x40123456u);
    EXPECT_EQ(CSurface::SampleOver(&src, 2, 0, 0x40123456), 0x40123456u);
    EXPECT_EQ(CSurface::SampleOver(&src, 0, -1, 0x40123456), 0x40123456u);
    src.Row(0)[0] = 0xFFABCDEF;
    EXPECT_EQ(CSurface::SampleOver(&src, 0, 0, 0x40123456), 0x40ABCDEFu);
}

TEST(Bilinear, MixesTheFourSamples) {
    // Blue: top = 0 * 128 + 200 * 128, bottom = 100 * 256; 1/4 of the way
    // down: (25600 * 64 + 25600 * 192) >> 16 = 100.
    EXPECT_EQ(CSurface::Bilinear(0xFF000000, 0xFF000064, 0xFF0000C8, 0xFF000064, 0.5, 0.25),
              0x00000064u);
    EXPECT_EQ(CSurface::Bilinear(0x00FF8040, 0, 0, 0, 0.0, 0.0), 0x00FF8040u);
    EXPECT_EQ(CSurface::Bilinear(0, 0, 0, 0x00FF8040, 0.999, 0.999), 0x00FD7F3Fu);
}

// At angle 0 the strip is copied pixel for pixel: source (x0 + hw + j,
// hh + i) lands on (centre x + j, centre y + i), over the destination.
TEST(DrawRotated, AngleZeroCopiesTheStrip) {
    CSurface src;
    CSurface dst;
    ASSERT_EQ(src.Create(8, 6), 1);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            src.Row(y)[x] = 0xFF000000u | std::uint32_t(y) << 8 | std::uint32_t(x);
        }
    }
    src.Row(2)[3] = 0x00FFFFFF; // transparent: the destination shows
    Fill(dst, 20, 20, 0x40777777);
    const int x0 = 2;
    const int w = 4;
    const int h = 6;
    CSurface::DrawRotated(&dst, &src, nullptr, 10, 10, w, h, x0);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            int j = x - 10;
            int i = y - 10;
            std::uint32_t expected = 0x40777777;
            if (j >= -w / 2 && j < w / 2 && i >= -h / 2 && i < h / 2) {
                std::uint32_t s = src.GetPixel(x0 + w / 2 + j, h / 2 + i);
                expected = s >> 24 == 0 ? 0x40777777 : (s & 0xFFFFFF) | 0x40000000;
            }
            EXPECT_EQ(dst.GetPixel(x, y), expected) << x << "," << y;
        }
    }
}

// A strip pointing up points right at a quarter turn: the column above the
// pivot ends up in the row of the centre, right of it.
TEST(DrawRotated, QuarterTurnPointsRight) {
    CSurface src;
    CSurface dst;
    Fill(src, 12, 10, 0x00000000);
    const int x0 = 4;
    const int w = 4;
    const int h = 10;
    for (int y = 0; y < h / 2; ++y) {
        src.Row(y)[x0 + w / 2] = 0xFFFFFFFF;
    }
    src.angle = std::numbers::pi_v<float> / 2;
    Fill(dst, 30, 30, 0xFF000000);
    CSurface::DrawRotated(&dst, &src, nullptr, 15, 15, w, h, x0);
    // One row above the pivot lands exactly one column right; further out
    // the single-precision cosine of a quarter turn (not quite 0) lets the
    // bilinear weights take 1/256 of a neighbour.
    EXPECT_EQ(dst.GetPixel(16, 15), 0xFFFFFFFFu);
    for (int k = 1; k <= h / 2; ++k) {
        std::uint32_t right = dst.GetPixel(15 + k, 15);
        std::uint32_t above = dst.GetPixel(15, 15 - k);
        for (int shift = 0; shift < 24; shift += 8) {
            EXPECT_GE(right >> shift & 0xFF, 0xFEu) << k;
            EXPECT_EQ(above >> shift & 0xFF, 0u) << k;
        }
    }
}

// The hands' clip (2, 8, 30, 110) inside a 32 x 200 strip: nothing outside
// it is drawn, even where the turned strip covers the destination.
TEST(DrawRotated, ClipNarrowerThanTheStripLimitsTheDrawing) {
    CSurface src;
    Fill(src, 32, 200, 0xFFFFFFFF);
    src.angle = 0.7f;
    const RECT clip{2, 8, 30, 110};
    CSurface clipped;
    CSurface whole;
    Fill(clipped, 200, 200, 0xFF000000);
    Fill(whole, 200, 200, 0xFF000000);
    CSurface::DrawRotated(&clipped, &src, &clip, 100, 100, 32, 200, 0);
    CSurface::DrawRotated(&whole, &src, nullptr, 100, 100, 32, 200, 0);
    int drawnOnlyWithoutClip = 0;
    int drawnWithClip = 0;
    for (int k = 0; k < 200 * 200; ++k) {
        bool inClipped = clipped.bits[k] != 0xFF000000u;
        bool inWhole = whole.bits[k] != 0xFF000000u;
        EXPECT_FALSE(inClipped && !inWhole) << k;
        drawnWithClip += inClipped ? 1 : 0;
        drawnOnlyWithoutClip += inWhole && !inClipped ? 1 : 0;
    }
    EXPECT_GT(drawnWithClip, 28 * 100);
    EXPECT_GT(drawnOnlyWithoutClip, 1000);
}

// Centres near the corner put much of the box at negative offsets; only
// the pixels inside are written (the sanitizers watch the rest).
TEST(DrawRotated, DestinationPixelsOutsideAreNotWritten) {
    CSurface src;
    Fill(src, 16, 16, 0xFFFFFFFF);
    for (float angle : {0.0f, 0.4f, 2.0f, -1.2f}) {
        src.angle = angle;
        CSurface dst;
        Fill(dst, 3, 3, 0x20000000);
        CSurface::DrawRotated(&dst, &src, nullptr, 0, 0, 16, 16, 0);
        CSurface::DrawRotated(&dst, &src, nullptr, 2, 2, 16, 16, 0);
        EXPECT_EQ(dst.GetPixel(0, 0), 0x20FFFFFFu) << angle;
        EXPECT_EQ(dst.GetPixel(2, 2), 0x20FFFFFFu) << angle;
    }
}

// The steps of the rotation one by one over the whole bounding box, with
// no skipping: the oracle for the drawing's shortcuts.
void DrawRotatedByTheSteps(CSurface& dst, const CSurface& src, RECT clip, int cx, int cy, int w,
                           int h, int x0) {
    const float c = std::cos(src.angle);
    const float s = std::sin(src.angle);
    const int hw = w / 2;
    const int hh = h / 2;
    const float phi = std::atan2(float(hw), float(hh));
    const float r = std::sqrt(float(hw * hw + hh * hh));
    auto extent = [r](float a, float b) {
        return std::max(std::abs(int(r * a)), std::abs(int(r * b)));
    };
    const int mx = extent(std::sin(src.angle - phi), std::sin(src.angle + phi));
    const int my = extent(std::cos(src.angle - phi), std::cos(src.angle + phi));
    for (int i = -(my + 2); i <= my + 1; ++i) {
        for (int j = -(mx + 2); j <= mx + 1; ++j) {
            float u = float(j) * c + float(i) * s + float(x0);
            float v = float(i) * c - float(j) * s;
            double U = hw + double(u);
            double V = hh + double(v);
            int px = int(U);
            int py = int(V);
            if (!clip.Contains(POINT{px, py})) {
                continue;
            }
            double fx = U - px;
            double fy = V - py;
            if (fx < 0) {
                fx += 1;
                --px;
            }
            if (fy < 0) {
                fy += 1;
                --py;
            }
            int dx = cx + j;
            int dy = cy + i;
            if (dx < 0 || dy < 0 || dx >= dst.width || dy >= dst.height) {
                continue;
            }
            std::uint32_t d = dst.GetPixel(dx, dy);
            dst.Row(dy)[dx] =
                CSurface::Bilinear(CSurface::SampleOver(&src, px, py, d),
                                   CSurface::SampleOver(&src, px, py + 1, d),
                                   CSurface::SampleOver(&src, px + 1, py, d),
                                   CSurface::SampleOver(&src, px + 1, py + 1, d), fx, fy) |
                (d & 0xFF000000u);
        }
    }
}

TEST(DrawRotated, EqualsTheStepsAtEveryAngle) {
    CSurface src;
    ASSERT_EQ(src.Create(40, 120), 1);
    for (int k = 0; k < 40 * 120; ++k) {
        src.bits[k] = std::uint32_t(k * 2654435761u);
    }
    const RECT clips[] = {{0, 0, 32, 120}, {2, 8, 30, 110}, {-5, -3, 50, 130}, {10, 0, 11, 120}};
    for (int step = 0; step < 64; ++step) {
        src.angle = float(step) * 0.1f - 3.2f;
        for (const RECT& clip : clips) {
            CSurface fast;
            CSurface steps;
            Fill(fast, 150, 150, 0x80402010);
            Fill(steps, 150, 150, 0x80402010);
            CSurface::DrawRotated(&fast, &src, &clip, 70, 80, 32, 120, 4);
            DrawRotatedByTheSteps(steps, src, clip, 70, 80, 32, 120, 4);
            ASSERT_TRUE(std::equal(fast.bits, fast.bits + 150 * 150, steps.bits))
                << "angle " << src.angle << " clip left " << clip.left;
        }
    }
}

} // namespace
