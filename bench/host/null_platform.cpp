// A backend that does nothing, for measuring the host's own work per frame: every seam call
// returns at once, the GL calls are empty, and entry points are found by name in a short table,
// as a driver's lookup would. Files are real, so the hot-reload poll costs a real status query.
#include "host/gl_api.h"
#include "host/platform/sys.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void INTRO_GLAPI no_op() {}

const char* const kKnown[] = {
    "glCreateShaderProgramv", "glUseProgram",       "glUniform3f", "glUniform2i",
    "glGetProgramiv",         "glGetProgramInfoLog"};

} // namespace

extern "C" {
void INTRO_GLAPI glBindTexture(std::uint32_t, std::uint32_t) {}
void INTRO_GLAPI glTexParameteri(std::uint32_t, std::uint32_t, std::int32_t) {}
void INTRO_GLAPI glRects(std::int16_t, std::int16_t, std::int16_t, std::int16_t) {}
void INTRO_GLAPI glCopyTexImage2D(std::uint32_t, std::int32_t, std::uint32_t, std::int32_t,
                                  std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void INTRO_GLAPI glViewport(std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
std::uint32_t INTRO_GLAPI glGetError() {
    return 0;
}
}

void* sys_module_instance() {
    return nullptr;
}
int sys_window_init(WindowHandles& handles, const PixelFormatDescriptor&) {
    handles.hwnd = handles.dc = handles.glrc = &handles;
    return 1;
}
void sys_window_deinit(WindowHandles&) {}
void sys_swap_buffers(const WindowHandles&) {}
bool sys_peek_message(WindowMessage&) {
    return false;
}
void sys_dispatch_message(const WindowMessage&) {}
void sys_post_quit_message(int) {}
std::intptr_t sys_default_window_proc(void*, std::uint32_t, std::uintptr_t, std::intptr_t) {
    return 0;
}
void sys_set_window_title(const WindowHandles&, const char*) {}
void sys_message_box(const char*, const char*) {}
void sys_restore_display_mode() {}
int sys_show_cursor(bool show) {
    return show ? 0 : -1;
}
void sys_cursor_position(std::int32_t& x, std::int32_t& y) {
    x = 100;
    y = 100;
}
bool sys_key_down_or_pressed(int) {
    return false;
}
GlProc sys_gl_proc_address(const char* name) {
    for (const char* known : kKnown) {
        if (std::strcmp(known, name) == 0) {
            return reinterpret_cast<GlProc>(no_op);
        }
    }
    return reinterpret_cast<GlProc>(no_op);
}
void sys_thread_start(void (*)(float*), float*) {}
bool sys_audio_open(const WaveFormat&) {
    return true;
}
void sys_audio_prepare(WaveHeader&) {}
void sys_audio_write(WaveHeader&) {}
void sys_audio_reset() {}
bool sys_audio_position(std::uint32_t& samples) {
    samples += 735; // one 60 Hz frame
    return true;
}
bool sys_console_create() {
    return true;
}
bool sys_console_attach_parent() {
    return true;
}
bool sys_console_release() {
    return true;
}
bool sys_console_lines(std::int16_t&) {
    return false;
}
void sys_console_set_lines(std::int16_t) {}
bool sys_std_handle_present(StdStream) {
    return true;
}
bool sys_std_reopen(StdStream, StdTarget) {
    return true;
}
int sys_file_mtime(const char* path, std::int64_t& mtime) {
    struct stat status {};
    if (stat(path, &status) != 0) {
        return errno;
    }
    mtime = status.st_mtime;
    return 0;
}
void sys_exit_process(int code) {
    _exit(code);
}
