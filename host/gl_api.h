// The OpenGL the host uses: the 1.1 functions linked directly from the system's GL library,
// the types of the later entry points reached by name, and the enum values, without any GL
// header (so that the fake backend can stand in for the driver in tests).
#pragma once

#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define INTRO_GLAPI __stdcall
#else
#define INTRO_GLAPI
#endif

extern "C" {
void INTRO_GLAPI glBindTexture(std::uint32_t target, std::uint32_t texture);
void INTRO_GLAPI glTexParameteri(std::uint32_t target, std::uint32_t pname, std::int32_t param);
void INTRO_GLAPI glRects(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);
void INTRO_GLAPI glCopyTexImage2D(std::uint32_t target, std::int32_t level,
                                  std::uint32_t internal_format, std::int32_t x, std::int32_t y,
                                  std::int32_t width, std::int32_t height, std::int32_t border);
void INTRO_GLAPI glViewport(std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height);
std::uint32_t INTRO_GLAPI glGetError();
}

inline constexpr std::uint32_t kGlTexture2d = 0x0DE1;
inline constexpr std::uint32_t kGlTextureMinFilter = 0x2801;
inline constexpr std::int32_t kGlLinear = 0x2601;
inline constexpr std::uint32_t kGlRgba8 = 0x8058;
inline constexpr std::uint32_t kGlFragmentShader = 0x8B30;
inline constexpr std::uint32_t kGlCompileStatus = 0x8B81;
inline constexpr std::uint32_t kGlLinkStatus = 0x8B82;
inline constexpr std::uint32_t kGlInfoLogLength = 0x8B84;
inline constexpr std::int32_t kGlTrue = 1;

// Entry points beyond 1.1, by the signatures the host calls them with.
using PfnGlCreateShaderProgramv = std::uint32_t(INTRO_GLAPI*)(std::uint32_t type,
                                                              std::int32_t count,
                                                              const char* const* strings);
using PfnGlUseProgram = void(INTRO_GLAPI*)(std::uint32_t program);
using PfnGlUniform3f = void(INTRO_GLAPI*)(std::int32_t location, float v0, float v1, float v2);
using PfnGlUniform2i = void(INTRO_GLAPI*)(std::int32_t location, std::int32_t v0, std::int32_t v1);
using PfnGlGetProgramiv = void(INTRO_GLAPI*)(std::uint32_t program, std::uint32_t pname,
                                             std::int32_t* params);
using PfnGlGetProgramInfoLog = void(INTRO_GLAPI*)(std::uint32_t program, std::int32_t max_length,
                                                  std::int32_t* length, char* log);
using PfnGlGetShaderiv = void(INTRO_GLAPI*)(std::uint32_t shader, std::uint32_t pname,
                                            std::int32_t* params);
using PfnGlGetShaderInfoLog = void(INTRO_GLAPI*)(std::uint32_t shader, std::int32_t max_length,
                                                 std::int32_t* length, char* log);
using PfnGlIsProgram = std::uint8_t(INTRO_GLAPI*)(std::uint32_t program);
using PfnGlGetAttachedShaders = void(INTRO_GLAPI*)(std::uint32_t program, std::int32_t max_count,
                                                   std::int32_t* count, std::uint32_t* shaders);
