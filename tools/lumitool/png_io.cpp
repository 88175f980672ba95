#include "png_io.h"

#include <png.h>

#include <cstring>

// libpng's simplified interface: BGRA bytes are exactly the little-endian
// 0xAARRGGBB words, with straight alpha.
bool ReadPng(const std::string& path, Picture& picture, std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        error = path + ": " + image.message;
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    picture.width = int(image.width);
    picture.height = int(image.height);
    picture.pixels.assign(std::size_t(image.width) * image.height, 0);
    if (png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr) == 0) {
        error = path + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

bool WritePng(const std::string& path, const Picture& picture, std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(picture.width);
    image.height = png_uint_32(picture.height);
    image.format = PNG_FORMAT_BGRA;
    if (png_image_write_to_file(&image, path.c_str(), 0, picture.pixels.data(), 0, nullptr) == 0) {
        error = path + ": " + image.message;
        return false;
    }
    return true;
}
