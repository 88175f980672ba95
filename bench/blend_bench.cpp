// The blits on a 369 x 222 back buffer (the monthly calendar's window) and
// a clock hand's rotation, each next to pixman's OVER of the same size.
#include "imaging/surface.h"
#include "ratio_reporter.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <random>

namespace {

constexpr int kWidth = 369;
constexpr int kHeight = 222;

// Artwork-like alpha: opaque shapes with soft edges over transparency, so
// runs of 0 and 255 with partial alpha in between.
void FillSprite(CSurface& s, int w, int h) {
    s.Create(w, h);
    std::mt19937 random(3);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            double d = std::hypot(std::fmod(x, 60.0) - 30, std::fmod(y, 50.0) - 25);
            int a = d < 18 ? 255 : d < 24 ? int(255 * (24 - d) / 6) : 0;
            s.Row(y)[x] = std::uint32_t(a) << 24 | (random() & 0xFFFFFF);
        }
    }
    s.opacity = 160;
}

void FillNoise(CSurface& s, int w, int h) {
    s.Create(w, h);
    std::mt19937 random(4);
    for (int k = 0; k < w * h; ++k) {
        s.bits[k] = std::uint32_t(random());
    }
    s.opacity = 160;
}

struct Scene {
    CSurface src;
    CSurface dst;
    explicit Scene(bool noise) {
        noise ? FillNoise(src, kWidth, kHeight) : FillSprite(src, kWidth, kHeight);
        FillNoise(dst, kWidth, kHeight);
    }
};

using Blit = void (*)(CSurface*, const CSurface*, int, int, int, int, int, int);

void RunOurs(benchmark::State& state, Blit blit, bool noise) {
    CSurface::ProbeBlendLoops();
    Scene scene(noise);
    for (auto _ : state) {
        blit(&scene.dst, &scene.src, 0, 0, kWidth, kHeight, 0, 0);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// Premultiplying the same buffer again does the same work: the alpha
// pattern, which is all the loop looks at, does not change.
void RunOursPremultiply(benchmark::State& state) {
    CSurface::ProbeBlendLoops();
    Scene scene(false);
    for (auto _ : state) {
        CSurface::Premultiply(&scene.src);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

pixman_image_t* PixmanImage(const CSurface& s) {
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, s.width, s.height, s.bits, s.width * 4);
}

// pixman's OVER works on premultiplied pixels: the same shapes, premultiplied.
void RunPixmanOver(benchmark::State& state, bool noise) {
    Scene scene(noise);
    CSurface::Premultiply(&scene.src);
    pixman_image_t* src = PixmanImage(scene.src);
    pixman_image_t* dst = PixmanImage(scene.dst);
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0, kWidth,
                                 kHeight);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

// --- A clock hand: a 32 x 200 strip turned onto a 200 x 200 face ----------

constexpr float kAngle = 0.6f;

void RunOursRotated(benchmark::State& state) {
    CSurface strip;
    FillSprite(strip, 32, 200);
    strip.angle = kAngle;
    CSurface face;
    FillNoise(face, 200, 200);
    for (auto _ : state) {
        CSurface::DrawRotated(&face, &strip, nullptr, 100, 100, 32, 200, 0);
        benchmark::ClobberMemory();
    }
}

// The same turn as a bilinear pixman transform, composited over the
// bounding box of the turned strip.
void RunPixmanRotated(benchmark::State& state) {
    CSurface strip;
    FillSprite(strip, 32, 200);
    CSurface::Premultiply(&strip);
    CSurface face;
    FillNoise(face, 200, 200);
    pixman_image_t* src = PixmanImage(strip);
    pixman_image_t* dst = PixmanImage(face);
    pixman_transform_t transform;
    pixman_transform_init_identity(&transform);
    pixman_transform_translate(&transform, nullptr, pixman_int_to_fixed(-100),
                               pixman_int_to_fixed(-100));
    pixman_transform_rotate(&transform, nullptr, pixman_double_to_fixed(std::cos(-kAngle)),
                            pixman_double_to_fixed(std::sin(-kAngle)));
    pixman_transform_translate(&transform, nullptr, pixman_int_to_fixed(16),
                               pixman_int_to_fixed(100));
    pixman_image_set_transform(src, &transform);
    pixman_image_set_filter(src, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    double r = std::hypot(16.0, 100.0);
    int box = int(2 * r) + 4;
    int corner = 100 - box / 2;
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, corner, corner, 0, 0, corner,
                                 corner, box, box);
        benchmark::ClobberMemory();
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
}

BENCHMARK_CAPTURE(RunOurs, Copy, CSurface::Copy, false)->Name("Ours/Copy");
BENCHMARK_CAPTURE(RunPixmanOver, Copy, false)->Name("Pixman/Copy");
BENCHMARK_CAPTURE(RunOurs, BlendAlpha, CSurface::BlendAlpha, false)->Name("Ours/BlendAlpha");
BENCHMARK_CAPTURE(RunPixmanOver, BlendAlpha, false)->Name("Pixman/BlendAlpha");
BENCHMARK_CAPTURE(RunOurs, BlendAlphaNoise, CSurface::BlendAlpha, true)
    ->Name("Ours/BlendAlpha (random alpha)");
BENCHMARK_CAPTURE(RunPixmanOver, BlendAlphaNoise, true)->Name("Pixman/BlendAlpha (random alpha)");
BENCHMARK_CAPTURE(RunOurs, BlendAlphaOpacity, CSurface::BlendAlphaOpacity, false)
    ->Name("Ours/BlendAlphaOpacity");
BENCHMARK_CAPTURE(RunPixmanOver, BlendAlphaOpacity, false)->Name("Pixman/BlendAlphaOpacity");
BENCHMARK_CAPTURE(RunOurs, BlendOpacity, CSurface::BlendOpacity, false)->Name("Ours/BlendOpacity");
BENCHMARK_CAPTURE(RunPixmanOver, BlendOpacity, false)->Name("Pixman/BlendOpacity");
BENCHMARK(RunOursPremultiply)->Name("Ours/Premultiply");
BENCHMARK_CAPTURE(RunPixmanOver, Premultiply, false)->Name("Pixman/Premultiply");
BENCHMARK(RunOursRotated)->Name("Ours/DrawRotated 32x200");
BENCHMARK(RunPixmanRotated)->Name("Pixman/DrawRotated 32x200");

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
