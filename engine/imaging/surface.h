// CSurface: every picture, back buffer and text canvas of the engine. A
// 32-bit buffer of 0xAARRGGBB pixels (bytes B, G, R, A) with straight alpha,
// rows stored bottom-up without padding; every operation takes display
// coordinates (origin top-left, y down) and converts them.
#pragma once

#include "platform/platform.h"

#include <cstddef>
#include <cstdint>

class CSurface {
public:
    CSurface() = default;
    ~CSurface() { Release(); }
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    // --- Life cycle -------------------------------------------------------
    // New surfaces, or null when loading or allocation fails.
    static CSurface* CreateFromFile(const char16_t* name);
    static CSurface* CreateBlank(int width, int height);
    // Releases the old contents, then allocates zeroed (transparent black)
    // pixels. 1, or 0 with the surface left empty.
    int Create(int width, int height);
    // Reads the file through the file service: MG01, else a 32-bit TGA,
    // else a BMP. 1, or 0 with the surface left empty.
    int Load(const char16_t* name);
    // The same decoding over bytes already in memory.
    int LoadFromMemory(const std::uint8_t* bytes, std::size_t size);
    // Back to empty with the default fields; safe to repeat.
    void Release();

    // --- Pixels -------------------------------------------------------------
    int SetOpaque();
    // Byte k of a width x height plane becomes the alpha of pixel k, in
    // storage order (bottom row first).
    int ApplyAlphaPlane(const std::uint8_t* plane);
    // The pixel at display position (x, y); 0 outside the surface.
    std::uint32_t GetPixel(int x, int y) const;
    // First pixel of display row y.
    std::uint32_t* Row(int y) const { return bits + std::size_t(height - 1 - y) * width; }
    PixelView View() const { return PixelView{bits, width, height}; }

    // --- Memory DC ------------------------------------------------------------
    // The drawing context of the surface for glyph text: null while one is
    // already held. It stays held until ReleaseMemoryDC or Release.
    HDC GetMemoryDC();
    void ReleaseMemoryDC();

    // --- Rectangle operations --------------------------------------------------
    // All take destination, source, destination x and y, width, height and
    // source x and y in display coordinates; only pixels inside both
    // surfaces are touched.
    static void Copy(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                     int sy);
    static void CopyKeyed(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                          int sy);
    static void BlendOpacity(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                             int sy);
    static void BlendAlpha(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                           int sy);
    static void BlendAlphaOpacity(CSurface* dst, const CSurface* src, int x, int y, int w, int h,
                                  int sx, int sy);
    static void BlendKeyedOpacity(CSurface* dst, const CSurface* src, int x, int y, int w, int h,
                                  int sx, int sy);
    static void MergeAlpha(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                           int sy);
    static void BlendAdd(CSurface* dst, const CSurface* src, int x, int y, int w, int h, int sx,
                         int sy);

    // --- Presentation --------------------------------------------------------
    // In place: colour times alpha / 255, for a per-pixel-alpha window.
    static void Premultiply(CSurface* surface);
    // The premultiplied surface becomes the main window's content, with the
    // window's top-left corner moved to (x, y).
    static void PresentLayered(CSurface* surface, int x, int y);
    // Draws the surface at (0, 0) of a paint context; alpha is ignored.
    static void PresentPlain(CSurface* surface, HDC dc);

    // --- Rotated drawing -----------------------------------------------------
    // Draws the strip (x0, 0, w, h) of src, turned clockwise by src->angle
    // about its centre pixel, bilinearly filtered, so that the centre lands
    // on (centreX, centreY). clip (source coordinates) limits the source
    // positions drawn; null means the whole strip.
    static void DrawRotated(CSurface* dst, const CSurface* src, const RECT* clip, int centreX,
                            int centreY, int w, int h, int x0);
    // The source pixel at (x, y) over background d, weights adding up to 255.
    static std::uint32_t SampleOver(const CSurface* src, int x, int y, std::uint32_t d);
    // p01 lies below p00, p10 right of it. The result's alpha is 0.
    static std::uint32_t Bilinear(std::uint32_t p00, std::uint32_t p01, std::uint32_t p10,
                                  std::uint32_t p11, double fx, double fy);

    // --- Process-wide settings, made once at start ----------------------------
    // The window that layered presentation updates.
    static void SetMainWindow(HWND window);
    static HWND MainWindow();
    // Records whether the vector blend loops run here and returns it. Until
    // then (and on processors without them) the scalar loops run, whose
    // BlendAlpha, BlendKeyedOpacity and BlendAdd round differently.
    static int ProbeBlendLoops();
    static void SetVectorLoops(int enabled);
    static int VectorLoops();

    // --- Fields -----------------------------------------------------------------
    std::uint32_t* bits = nullptr; // memory row 0 (the bottom row); owned
    int dcHeld = 0;
    HDC dc = nullptr;
    int width = 0;
    int height = 0;
    std::uint32_t colorKey = 0; // what the keyed operations treat as transparent
    int opacity = 255;          // 0..255, for the opacity blends
    float angle = 0.0f;         // radians, clockwise, for DrawRotated
    int hasAlpha = 0;           // the alpha bytes carry real coverage
};
