// Shader programs: the compile and link checks with their logs, building a program from a file,
// and the hot reload of "../shader.glsl" whenever its modification time moves on.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kHotReloadPath = "../shader.glsl";
// A shader source larger than this is refused rather than read (the real one is a few KB).
inline constexpr std::uint64_t kMaxShaderFileBytes = 4u << 20;

struct HotReloadState {
    bool last_build_ok = false;
    // Modification time at the last change seen; 0 means none seen yet.
    std::int64_t last_mtime = 0;
};

extern HotReloadState hot_reload;

// True when the shader compiled; writes the failure and the info log to standard error.
bool CheckShader(std::uint32_t shader, const char* name);
// True when the program linked; writes the failure and the info log to standard error.
bool CheckProgram(std::uint32_t program, const char* name);

// Reads the whole file as text, up to its first zero byte. Returns 0 on success, -1 (with a
// message saying why) when it is missing, unreadable, not a regular file or too large.
int load_text_file(const char* path, std::string& text);

// Writes a new fragment-shader program name into program when the file was read; leaves it
// untouched otherwise.
void create_program_from_file(const char* path, std::uint32_t& program);

// True when a new program was created, linked, is a program, its attached shaders compiled,
// and it was made current. Neither the replaced program nor a failed one is deleted.
bool build_program(const char* path);

// The file's modification time in seconds since 1970, or 0 with the reason on the console.
std::int64_t file_mtime(const char* path);

// Rebuilds the program from path when its modification time is strictly newer than the last
// one seen; the first sight of the file only records its time.
void hotreload_poll(const char* path);
