// Reads a PNG back as RGB for the picture tests; a failure is a test failure and an empty picture.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // top row first
};

RgbPicture read_png_rgb(const std::filesystem::path& file);
