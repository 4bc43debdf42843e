// The per-frame drawing: the shader's three passes with the texture copies between them. The
// window's frame loop and the headless renderer both draw through this routine, so a frame
// written to a file is the frame shown on screen.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kPassTexture = 1;
inline constexpr std::int32_t kPictureWidth = 640;
inline constexpr std::int32_t kPictureHeight = 420;
inline constexpr std::int32_t kUniformMouse = 0;
inline constexpr std::int32_t kUniformPassAndPosition = 1;
inline constexpr int kLastPass = 2;

// With the shader program current: binds texture 1 on GL_TEXTURE_2D with the linear minifying
// filter, then for pass 0, 1 and 2 sets uU (location 1) to (play_position, pass), draws one
// rectangle over the viewport and, after passes 0 and 1, copies the lower-left 640 x 420 pixels
// of the framebuffer into the texture. Stops after drawing pass last_pass (0, 1 or 2), so that
// the framebuffer then holds that pass's picture. "glUniform2i" is looked up by name before each
// use, as the program does every frame; a driver that lacks it gets no call.
void draw_frame_passes(std::int32_t play_position, int last_pass = kLastPass);
