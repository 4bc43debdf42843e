// Writes pictures as PNG files through libpng's simplified interface.
#pragma once

#include <cstdint>
#include <span>
#include <string>

enum class PngChannels { rgb, rgba };

// Writes a width x height picture of RGBA8 pixels to path. bottom_row_first says that the first
// row in rgba is the bottom one (as OpenGL reads pixels); the file always stores the top row
// first. With PngChannels::rgb the alpha channel is dropped. The file appears only once it is
// complete: it is written under a temporary name beside path and then renamed. On failure
// returns false with a message and leaves no file behind.
bool write_png(const std::string& path, int width, int height, std::span<const std::uint8_t> rgba,
               bool bottom_row_first, PngChannels channels, std::string& error);

// Checks that a file can be created at path, by creating and removing the temporary file that
// write_png would use, so that a long render is not wasted on a path that cannot take it.
bool check_output_path(const std::string& path, std::string& error);
