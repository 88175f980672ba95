#include "desktop_pixels.h"

namespace {

const std::uint32_t* SourceRow(const PixelView& picture, int y) {
    // Rows are stored bottom-up.
    return picture.bits + static_cast<std::size_t>(picture.height - 1 - y) * picture.width;
}

std::uint32_t Unpremultiply(std::uint32_t pixel) {
    std::uint32_t alpha = pixel >> 24;
    if (alpha == 0) {
        return 0;
    }
    auto channel = [alpha](std::uint32_t value) {
        std::uint32_t straight = (value * 255 + alpha / 2) / alpha;
        return straight > 255 ? 255u : straight;
    };
    return 0xFF000000u | channel((pixel >> 16) & 0xFF) << 16 | channel((pixel >> 8) & 0xFF) << 8 |
           channel(pixel & 0xFF);
}

template <typename PixelFormula>
QImage Convert(const PixelView& picture, QImage::Format format, PixelFormula formula) {
    QImage image(picture.width, picture.height, format);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* source = SourceRow(picture, y);
        auto* target = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < picture.width; ++x) {
            target[x] = formula(source[x]);
        }
    }
    return image;
}

} // namespace

QImage OpaqueImage(const PixelView& picture) {
    return Convert(picture, QImage::Format_RGB32,
                   [](std::uint32_t pixel) { return pixel | 0xFF000000u; });
}

QImage TranslucentImage(const PixelView& premultiplied) {
    return Convert(premultiplied, QImage::Format_ARGB32_Premultiplied,
                   [](std::uint32_t pixel) { return pixel; });
}

QImage FallbackImage(const PixelView& premultiplied) {
    return Convert(premultiplied, QImage::Format_ARGB32_Premultiplied, [](std::uint32_t pixel) {
        return (pixel >> 24) >= kShapeAlphaOpaque ? Unpremultiply(pixel) : 0u;
    });
}

std::vector<std::uint8_t> ShapeOf(const PixelView& picture, std::uint8_t minAlpha) {
    std::vector<std::uint8_t> shape(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* source = SourceRow(picture, y);
        std::uint8_t* target = shape.data() + static_cast<std::size_t>(y) * picture.width;
        for (int x = 0; x < picture.width; ++x) {
            target[x] = (source[x] >> 24) >= minAlpha ? 1 : 0;
        }
    }
    return shape;
}

QRegion RegionOf(const std::vector<std::uint8_t>& shape, int width, int height) {
    std::vector<QRect> runs;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = shape.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < width;) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            int start = x;
            while (x < width && row[x] != 0) {
                ++x;
            }
            runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}
