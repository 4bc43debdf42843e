#include "png_file.h"

#include <cstring>
#include <png.h>
#include <vector>

bool write_png(std::FILE* stream, int width, int height, std::span<const std::uint8_t> rgba,
               bool bottom_row_first, PngChannels channels, std::string& error) {
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (width <= 0 || height <= 0 || rgba.size() < pixels * 4) {
        error = "internal error: the picture to write is empty or too small";
        return false;
    }

    const int components = channels == PngChannels::rgba ? 4 : 3;
    std::vector<std::uint8_t> packed;
    const std::uint8_t* data = rgba.data();
    if (components == 3) {
        packed.resize(pixels * 3);
        for (std::size_t i = 0; i < pixels; ++i) {
            std::memcpy(&packed[i * 3], &rgba[i * 4], 3);
        }
        data = packed.data();
    }

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = components == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    // A negative stride tells libpng that the rows are stored bottom-up.
    const png_int_32 stride = (bottom_row_first ? -1 : 1) * width * components;
    if (png_image_write_to_stdio(&image, stream, 0, data, stride, nullptr) == 0) {
        error = std::string("cannot encode the PNG: ") + image.message;
        return false;
    }
    return true;
}
