// Reads a PNG back as RGB for the picture tests; a failure is a test failure and an empty picture.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb; // top row first
};

RgbPicture read_png_rgb(const std::filesystem::path& file);

struct Rgb {
    std::uint8_t r, g, b;
    auto operator<=>(const Rgb&) const = default;
};

// The colour at (x, y) of interleaved pixels with `channels` bytes each, top row first.
inline Rgb pixel(const std::vector<std::uint8_t>& pixels, int width, int channels, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                            static_cast<std::size_t>(x)) *
                           static_cast<std::size_t>(channels);
    return {pixels[at], pixels[at + 1], pixels[at + 2]};
}
