// The fragment shader built into the program, generated from the shader source at build time.
#pragma once

// A pointer to the zero-terminated text, so that its address is a one-string array.
extern const char* const embedded_shader;
