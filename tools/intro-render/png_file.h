// Writes pictures as PNG through libpng's simplified interface.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

enum class PngChannels { rgb, rgba };

// Writes a width x height picture of RGBA8 pixels as PNG to an open stream. bottom_row_first
// says that the first row in rgba is the bottom one (as OpenGL reads pixels); the file always
// stores the top row first. With PngChannels::rgb the alpha channel is dropped. On failure
// returns false with a message.
bool write_png(std::FILE* stream, int width, int height, std::span<const std::uint8_t> rgba,
               bool bottom_row_first, PngChannels channels, std::string& error);
