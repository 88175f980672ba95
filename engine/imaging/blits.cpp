// The rectangle operations: clip, return early when nothing is left, then
// walk the rows in memory order with the row loops chosen at start.
#include "blend_rows.h"
#include "surface.h"

#include <algorithm>
#include <cstring>

namespace {

int g_vectorLoops = 0;

const RowLoops& Loops() {
    return g_vectorLoops != 0 ? VectorRowLoops() : ScalarRowLoops();
}

// Calls row(d, s, n) for every row of the rectangle that lies inside both
// surfaces. Clipping the source too costs nothing and keeps a caller's
// mistake from reading outside the source picture.
template <typename RowFn>
void ForEachRow(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx, int sy,
                RowFn row) {
    if (dst == nullptr || src == nullptr || dst->bits == nullptr || src->bits == nullptr) {
        return;
    }
    long long left = std::max({0LL, -static_cast<long long>(x), -static_cast<long long>(sx)});
    long long top = std::max({0LL, -static_cast<long long>(y), -static_cast<long long>(sy)});
    long long right = std::min({static_cast<long long>(w), static_cast<long long>(dst->width) - x,
                                static_cast<long long>(src->width) - sx});
    long long bottom = std::min({static_cast<long long>(h), static_cast<long long>(dst->height) - y,
                                 static_cast<long long>(src->height) - sy});
    if (left >= right || top >= bottom) {
        return;
    }
    int n = static_cast<int>(right - left);
    // Memory order: the lowest display row first.
    for (long long k = bottom - 1; k >= top; --k) {
        std::uint32_t* d = dst->Row(static_cast<int>(y + k)) + (x + left);
        const std::uint32_t* s = src->Row(static_cast<int>(sy + k)) + (sx + left);
        row(d, s, n);
    }
}

void RunLoop(RowLoop loop, CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
             int sy) {
    BlendParams params{static_cast<std::uint32_t>(src != nullptr ? src->opacity : 255),
                       src != nullptr ? src->colorKey : 0};
    ForEachRow(dst, src, x, y, w, h, sx, sy,
               [&](std::uint32_t* d, const std::uint32_t* s, int n) { loop(d, s, n, params); });
}

} // namespace

int CSurface::ProbeBlendLoops() {
#if defined(__SSE2__)
    g_vectorLoops = 1;
#else
    g_vectorLoops = 0;
#endif
    return g_vectorLoops;
}

void CSurface::SetVectorLoops(int enabled) {
    g_vectorLoops = enabled != 0 ? 1 : 0;
}

int CSurface::VectorLoops() {
    return g_vectorLoops;
}

void CSurface::Copy(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                    int sy) {
    ForEachRow(dst, src, x, y, w, h, sx, sy, [](std::uint32_t* d, const std::uint32_t* s, int n) {
        std::memcpy(d, s, std::size_t(n) * sizeof(std::uint32_t));
    });
}

void CSurface::CopyKeyed(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                         int sy) {
    RunLoop(Loops().copyKeyed, dst, src, x, y, w, h, sx, sy);
}

void CSurface::BlendOpacity(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                            int sy) {
    if (src == nullptr || src->opacity <= 0) {
        return;
    }
    if (src->opacity >= 255) {
        Copy(dst, src, x, y, w, h, sx, sy);
        return;
    }
    RunLoop(Loops().blendOpacity, dst, src, x, y, w, h, sx, sy);
}

void CSurface::BlendAlpha(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                          int sy) {
    RunLoop(Loops().blendAlpha, dst, src, x, y, w, h, sx, sy);
}

void CSurface::BlendAlphaOpacity(CSurface* dst, const CSurface* src, int x, int y, int w, int h,
                                 int sx, int sy) {
    if (src == nullptr || src->opacity <= 0) {
        return;
    }
    if (src->opacity >= 255) {
        BlendAlpha(dst, src, x, y, w, h, sx, sy);
        return;
    }
    RunLoop(Loops().blendAlphaOpacity, dst, src, x, y, w, h, sx, sy);
}

void CSurface::BlendKeyedOpacity(CSurface* dst, const CSurface* src, int x, int y, int w, int h,
                                 int sx, int sy) {
    if (src == nullptr || src->opacity <= 0) {
        return;
    }
    if (src->opacity >= 255) {
        CopyKeyed(dst, src, x, y, w, h, sx, sy);
        return;
    }
    RunLoop(Loops().blendKeyedOpacity, dst, src, x, y, w, h, sx, sy);
}

// Pixels outside either surface are left out, which is the same as reading
// alpha 0 outside the source.
void CSurface::MergeAlpha(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                          int sy) {
    RunLoop(Loops().mergeAlpha, dst, src, x, y, w, h, sx, sy);
}

void CSurface::BlendAdd(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                        int sy) {
    RunLoop(Loops().blendAdd, dst, src, x, y, w, h, sx, sy);
}

void CSurface::Premultiply(CSurface* surface) {
    if (surface == nullptr || surface->bits == nullptr) {
        return;
    }
    Loops().premultiply(surface->bits, surface->width * surface->height);
}
