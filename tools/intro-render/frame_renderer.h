// Draws moments of the piece without a window: a headless OpenGL context, a shader program built
// from the embedded text (or another), and the program's own per-frame routine, so that the
// pixels read back are the frame the window would show at that play position.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace frame_renderer {

inline constexpr int width = 640;
inline constexpr int height = 420;
inline constexpr std::size_t frame_bytes = std::size_t{width} * height * 4;
inline constexpr double samples_per_second = 44100.0;

// Opens the headless context. False with a message when there is no usable OpenGL 4.3.
bool open(std::string& error);
void close();

// The shader text built into the program.
const char* embedded_shader_text();

// Builds a fragment-shader program from text, as the program does at start-up, and makes it
// current. When it does not link, the driver's log goes to standard error (as the program
// reports it, naming the shader by name) and the result is false with a message; the previous
// program stays current.
bool use_shader(const char* text, const char* name, std::string& error);

// Draws the frame at play_position (sample frames), stopping after pass last_pass (0 scene,
// 1 blur, 2 grade), and reads the picture into rgba (frame_bytes, bottom row first).
void draw(std::int32_t play_position, int last_pass, std::span<std::uint8_t> rgba);

// The play position for a time in seconds, rounded to the nearest sample frame.
std::int32_t position_at(double seconds);

// Renderer and version of the driver, for reports.
std::string driver_description();

} // namespace frame_renderer
