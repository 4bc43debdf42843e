#include "picture_fixture.h"

#include <cstdio>
#include <cstring>

bool Picture::row_equals(const Picture& other, int row) const {
    return std::memcmp(at(0, row), other.at(0, row), std::size_t{frame_renderer::width} * 4) == 0;
}

bool Picture::row_is_black(int row) const {
    for (int column = 0; column < frame_renderer::width; ++column) {
        const std::uint8_t* pixel = at(column, row);
        if (pixel[0] != 0 || pixel[1] != 0 || pixel[2] != 0) {
            return false;
        }
    }
    return true;
}

Picture draw_picture(std::int32_t position, int last_pass) {
    Picture picture;
    frame_renderer::draw(position, last_pass, picture.rgba);
    return picture;
}

void RendererSuite::open_with(const std::string& shader_text) {
    std::string error;
    ready_ = frame_renderer::open(error) &&
             frame_renderer::use_shader(shader_text.c_str(), "test shader", error);
    if (!ready_) {
        std::fprintf(stderr, "%s\n", error.c_str());
    }
}
