#include "surface.h"

#include <new>

namespace {

// Sizes beyond these are refused before anything is allocated: 64 MiB of
// pixels is far above any picture or back buffer of the gadgets.
constexpr int kMaxSide = 65535;
constexpr long long kMaxPixels = 1LL << 24;

HWND g_mainWindow = nullptr;

} // namespace

CSurface* CSurface::CreateFromFile(const char16_t* name) {
    CSurface* surface = new CSurface;
    if (surface->Load(name) == 0) {
        surface->Release();
        delete surface;
        return nullptr;
    }
    return surface;
}

CSurface* CSurface::CreateBlank(int width, int height) {
    CSurface* surface = new CSurface;
    if (surface->Create(width, height) == 0) {
        surface->Release();
        delete surface;
        return nullptr;
    }
    return surface;
}

int CSurface::Create(int newWidth, int newHeight) {
    Release();
    if (newWidth <= 0 || newHeight <= 0 || newWidth > kMaxSide || newHeight > kMaxSide ||
        static_cast<long long>(newWidth) * newHeight > kMaxPixels) {
        return 0;
    }
    bits = new (std::nothrow) std::uint32_t[std::size_t(newWidth) * newHeight]();
    if (bits == nullptr) {
        return 0;
    }
    width = newWidth;
    height = newHeight;
    return 1;
}

void CSurface::Release() {
    ReleaseMemoryDC();
    delete[] bits;
    bits = nullptr;
    width = 0;
    height = 0;
    colorKey = 0;
    opacity = 255;
    angle = 0.0f;
    hasAlpha = 0;
}

int CSurface::SetOpaque() {
    if (bits == nullptr) {
        return 0;
    }
    std::size_t count = std::size_t(width) * height;
    for (std::size_t k = 0; k < count; ++k) {
        bits[k] |= 0xFF000000u;
    }
    hasAlpha = 1;
    return 1;
}

int CSurface::ApplyAlphaPlane(const std::uint8_t* plane) {
    if (bits == nullptr || plane == nullptr) {
        return 0;
    }
    std::size_t count = std::size_t(width) * height;
    for (std::size_t k = 0; k < count; ++k) {
        bits[k] = (bits[k] & 0x00FFFFFFu) | std::uint32_t(plane[k]) << 24;
    }
    hasAlpha = 1;
    return 1;
}

std::uint32_t CSurface::GetPixel(int x, int y) const {
    if (bits == nullptr || x < 0 || y < 0 || x >= width || y >= height) {
        return 0;
    }
    return Row(y)[x];
}

// Glyph text draws into the pixels itself; the context only stands for the
// surface while text is measured and drawn, and only one may be out.
HDC CSurface::GetMemoryDC() {
    if (dcHeld != 0) {
        return nullptr;
    }
    dc = reinterpret_cast<HDC>(this);
    dcHeld = 1;
    return dc;
}

void CSurface::ReleaseMemoryDC() {
    dc = nullptr;
    dcHeld = 0;
}

void CSurface::SetMainWindow(HWND window) {
    g_mainWindow = window;
}

HWND CSurface::MainWindow() {
    return g_mainWindow;
}

void CSurface::PresentLayered(CSurface* surface, int x, int y) {
    if (surface == nullptr || surface->bits == nullptr) {
        return;
    }
    Sys().PresentLayered(g_mainWindow, POINT{x, y}, surface->View());
}

void CSurface::PresentPlain(CSurface* surface, HDC paintDc) {
    if (surface == nullptr || surface->bits == nullptr) {
        return;
    }
    Sys().PresentPlain(paintDc, 0, 0, surface->View());
}
