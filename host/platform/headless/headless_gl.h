// Headless OpenGL for tools and tests: an EGL context on Mesa's surfaceless platform, desktop
// OpenGL 4.3 or newer in the compatibility profile (the frame routine draws with glRects and
// binds a texture name it never generated), rendering into an off-screen 640 x 420 RGBA8
// framebuffer object that stays bound for drawing and reading.
//
// Supports: one context per process, made current on the calling thread; reading the picture
// back. Does not support: windows, presenting, resizing, input, sound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace headless {

inline constexpr int picture_width = 640;
inline constexpr int picture_height = 420;
inline constexpr std::size_t picture_bytes = std::size_t{picture_width} * picture_height * 4;

// Creates the display, context and framebuffer and makes them current. On failure returns false
// with a message saying what failed and what to try; nothing is left open.
bool open(std::string& error);

// Releases what open created. Safe to call when nothing is open.
void close();

// The GL entry point of that name for the current context, or nullptr.
void* proc_address(const char* name);

// Waits for drawing to finish and copies the framebuffer into rgba: 640 x 420 RGBA8 pixels, the
// bottom row first, as GL counts rows. rgba must hold picture_bytes.
void read_pixels(std::span<std::uint8_t> rgba);

// Waits until every command sent so far has finished drawing.
void finish();

// The driver's renderer and version strings, for reports.
std::string renderer_description();

} // namespace headless
