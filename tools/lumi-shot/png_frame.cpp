#include "png_frame.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

std::uint8_t Unpremultiply(std::uint32_t channel, std::uint32_t alpha) {
    return std::uint8_t(
        alpha == 0 ? 0 : std::min<std::uint32_t>(255, (channel * 255 + alpha / 2) / alpha));
}

} // namespace

bool WriteFramePng(const std::string& path, const HeadlessPlatform::PresentedFrame& frame,
                   std::string* error) {
    std::vector<std::uint8_t> rgba(std::size_t(frame.width) * frame.height * 4);
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            std::uint32_t p = frame.PixelAt(x, y);
            std::uint32_t a = frame.layered ? p >> 24 : 255;
            std::uint8_t* out = &rgba[(std::size_t(y) * frame.width + x) * 4];
            std::uint32_t r = p >> 16 & 0xFF;
            std::uint32_t g = p >> 8 & 0xFF;
            std::uint32_t b = p & 0xFF;
            out[0] = frame.layered ? Unpremultiply(r, a) : std::uint8_t(r);
            out[1] = frame.layered ? Unpremultiply(g, a) : std::uint8_t(g);
            out[2] = frame.layered ? Unpremultiply(b, a) : std::uint8_t(b);
            out[3] = std::uint8_t(a);
        }
    }

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                         std::fclose);
    if (file == nullptr) {
        *error = path + ": cannot be created";
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        *error = "libpng could not start";
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        *error = path + ": writing failed";
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(frame.width), png_uint_32(frame.height), 8,
                 PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < frame.height; ++y) {
        png_write_row(png, &rgba[std::size_t(y) * frame.width * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file.get()) == 0;
}
