// Rotated drawing of a vertical strip, as the clock hands need it. The
// angle terms are single precision, as the faces were tuned with.
#include "surface.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

std::uint32_t Channel(std::uint32_t p, int shift) {
    return p >> shift & 0xFF;
}

// Half-extent of the rotated strip along one axis.
int Extent(float r, float a, float b) {
    return std::max(std::abs(static_cast<int>(r * a)), std::abs(static_cast<int>(r * b)));
}

// Narrows [first, last] to the columns j where lo < base + slope * j < hi
// may hold, one column wider on each side than exact arithmetic says. The
// per-pixel clip test still decides; this only skips what it would reject.
void NarrowColumns(double base, double slope, double lo, double hi, int& first, int& last) {
    if (std::fabs(slope) < 1e-9) {
        if (base <= lo || base >= hi) {
            last = first - 1;
        }
        return;
    }
    double a = (lo - base) / slope;
    double b = (hi - base) / slope;
    if (a > b) {
        std::swap(a, b);
    }
    first = std::max(first, static_cast<int>(std::floor(std::max(a, -1e9))) - 1);
    last = std::min(last, static_cast<int>(std::ceil(std::min(b, 1e9))) + 1);
}

} // namespace

std::uint32_t CSurface::SampleOver(const CSurface* src, int x, int y, std::uint32_t d) {
    if (src == nullptr || src->bits == nullptr || x < 0 || y < 0 || x >= src->width ||
        y >= src->height) {
        return d;
    }
    std::uint32_t s = src->Row(y)[x];
    std::uint32_t a = s >> 24;
    if (a == 0) {
        return d;
    }
    if (a == 255) {
        return (s & 0x00FFFFFFu) | (d & 0xFF000000u);
    }
    std::uint32_t result = d & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
        result |= (Channel(s, shift) * a + Channel(d, shift) * (255 - a)) >> 8 << shift;
    }
    return result;
}

std::uint32_t CSurface::Bilinear(std::uint32_t p00, std::uint32_t p01, std::uint32_t p10,
                                 std::uint32_t p11, double fx, double fy) {
    int rx = static_cast<int>(fx * 256);
    int ry = static_cast<int>(fy * 256);
    std::uint32_t result = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        int top = int(Channel(p00, shift)) * (256 - rx) + int(Channel(p10, shift)) * rx;
        int bottom = int(Channel(p01, shift)) * (256 - rx) + int(Channel(p11, shift)) * rx;
        int value = (bottom * ry + top * (256 - ry)) >> 16;
        result |= std::uint32_t(std::clamp(value, 0, 255)) << shift;
    }
    return result;
}

void CSurface::DrawRotated(CSurface* dst, const CSurface* src, const RECT* clip, int centreX,
                           int centreY, int w, int h, int x0) {
    if (dst == nullptr || src == nullptr) {
        return;
    }
    RECT strip{x0, 0, x0 + w, h};
    const RECT& limit = clip != nullptr ? *clip : strip;
    const float theta = src->angle;
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const int hw = w / 2;
    const int hh = h / 2;
    const float phi = std::atan2(static_cast<float>(hw), static_cast<float>(hh));
    const float r = std::sqrt(static_cast<float>(hw * hw + hh * hh));
    const int mx = Extent(r, std::sin(theta - phi), std::sin(theta + phi));
    const int my = Extent(r, std::cos(theta - phi), std::cos(theta + phi));

    for (int i = -(my + 2); i <= my + 1; ++i) {
        // Only the columns whose source point can fall inside the clip
        // rectangle (with a margin) are visited.
        int first = -(mx + 2);
        int last = mx + 1;
        NarrowColumns(hw + x0 + double(i) * s, c, limit.left - 2.0, limit.right + 1.0, first, last);
        NarrowColumns(hh + double(i) * c, -double(s), limit.top - 2.0, limit.bottom + 1.0, first,
                      last);
        for (int j = first; j <= last; ++j) {
            const float fi = static_cast<float>(i);
            const float fj = static_cast<float>(j);
            const float u = fj * c + fi * s + static_cast<float>(x0);
            const float v = fi * c - fj * s;
            const double U = hw + static_cast<double>(u);
            const double V = hh + static_cast<double>(v);
            int px = static_cast<int>(U);
            int py = static_cast<int>(V);
            if (!limit.Contains(POINT{px, py})) {
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
            const int dx = centreX + j;
            const int dy = centreY + i;
            const bool inside = dx >= 0 && dy >= 0 && dx < dst->width && dy < dst->height;
            const std::uint32_t d = inside ? dst->Row(dy)[dx] : 0;
            const std::uint32_t p00 = SampleOver(src, px, py, d);
            const std::uint32_t p01 = SampleOver(src, px, py + 1, d);
            const std::uint32_t p10 = SampleOver(src, px + 1, py, d);
            const std::uint32_t p11 = SampleOver(src, px + 1, py + 1, d);
            if (inside) {
                dst->Row(dy)[dx] = Bilinear(p00, p01, p10, p11, fx, fy) | (d & 0xFF000000u);
            }
        }
    }
}
