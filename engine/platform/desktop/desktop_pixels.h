// Conversions from the engine's bottom-up 0xAARRGGBB pictures to what a Qt
// window shows, and the click-through shape of layered windows.
#pragma once

#include "platform/platform.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <vector>

// Alpha thresholds of the shape: with a compositor every pixel that is not
// fully transparent; without one the pixels drawn opaque.
inline constexpr std::uint8_t kShapeAlphaTranslucent = 1;
inline constexpr std::uint8_t kShapeAlphaOpaque = 128;

// Top-down copy with alpha ignored (SetDIBitsToDevice).
QImage OpaqueImage(const PixelView& picture);
// Top-down premultiplied ARGB, for a composited translucent window.
QImage TranslucentImage(const PixelView& premultiplied);
// Without a compositor: un-premultiplied colour drawn opaque, so edges keep
// their colour instead of fading to black.
QImage FallbackImage(const PixelView& premultiplied);

// One byte per pixel, top-down: 1 where alpha >= minAlpha.
std::vector<std::uint8_t> ShapeOf(const PixelView& picture, std::uint8_t minAlpha);
// The shape as a region of horizontal runs.
QRegion RegionOf(const std::vector<std::uint8_t>& shape, int width, int height);
