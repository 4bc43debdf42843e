#include "png_read.h"

#include <gtest/gtest.h>
#include <png.h>

namespace fs = std::filesystem;

RgbPicture read_png_rgb(const fs::path& file) {
    RgbPicture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, file.c_str()) == 0) {
        ADD_FAILURE() << "cannot read " << file << ": " << image.message;
        return picture;
    }
    image.format = PNG_FORMAT_RGB;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) == 0) {
        ADD_FAILURE() << "cannot decode " << file << ": " << image.message;
    }
    return picture;
}
