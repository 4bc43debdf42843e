#include "host/platform/fake/fake_platform.h"

#include "host/gl_api.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace fake {

namespace {

State the_state;

template <typename... Args> void log_call(const char* format, Args... args) {
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    the_state.calls.emplace_back(text);
}

void log_call(const char* text) {
    the_state.calls.emplace_back(text);
}

const char* stream_name(StdStream stream) {
    switch (stream) {
    case StdStream::input:
        return "input";
    case StdStream::output:
        return "output";
    case StdStream::error:
        return "error";
    }
    return "?";
}

// ---- GL entry points reached by name ----

std::uint32_t INTRO_GLAPI create_shader_program_v(std::uint32_t type, std::int32_t count,
                                                  const char* const* strings) {
    log_call("glCreateShaderProgramv(0x%X, %d)", type, count);
    Program program;
    program.source = count > 0 && strings[0] != nullptr ? strings[0] : "";
    program.linked = !the_state.every_link_fails && !program.source.empty() &&
                     program.source.find("broken") == std::string::npos;
    if (!program.linked) {
        program.log = "0:1(1): error: syntax error, unexpected end of file";
    }
    program.attached = the_state.attach_on_create;
    const std::uint32_t name = the_state.next_program++;
    the_state.programs[name] = program;
    return name;
}

void INTRO_GLAPI use_program(std::uint32_t program) {
    log_call("glUseProgram(%u)", program);
    const auto found = the_state.programs.find(program);
    if (program == 0 || (found != the_state.programs.end() && found->second.linked)) {
        the_state.current_program = program;
    } else {
        the_state.gl_errors.push_back(0x0502); // the GL refuses an unlinked program
    }
}

void INTRO_GLAPI uniform3f(std::int32_t location, float v0, float v1, float v2) {
    log_call("glUniform3f(%d, %.8g, %.8g, %.8g)", location, static_cast<double>(v0),
             static_cast<double>(v1), static_cast<double>(v2));
}

void INTRO_GLAPI uniform2i(std::int32_t location, std::int32_t v0, std::int32_t v1) {
    log_call("glUniform2i(%d, %d, %d)", location, v0, v1);
}

void INTRO_GLAPI get_programiv(std::uint32_t program, std::uint32_t pname, std::int32_t* params) {
    log_call("glGetProgramiv(%u, 0x%X)", program, pname);
    const auto found = the_state.programs.find(program);
    if (found == the_state.programs.end()) {
        return;
    }
    if (pname == kGlLinkStatus) {
        *params = found->second.linked ? 1 : 0;
    } else if (pname == kGlInfoLogLength) {
        const auto size = found->second.log.size();
        *params = size == 0 ? 0 : static_cast<std::int32_t>(size + 1);
    }
}

void INTRO_GLAPI get_program_info_log(std::uint32_t program, std::int32_t max_length,
                                      std::int32_t* length, char* log) {
    log_call("glGetProgramInfoLog(%u, %d)", program, max_length);
    const std::string& text = the_state.programs[program].log;
    const auto n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(max_length - 1));
    std::memcpy(log, text.data(), n);
    log[n] = '\0';
    if (length != nullptr) {
        *length = static_cast<std::int32_t>(n);
    }
}

void INTRO_GLAPI get_shaderiv(std::uint32_t shader, std::uint32_t pname, std::int32_t* params) {
    log_call("glGetShaderiv(%u, 0x%X)", shader, pname);
    const Shader& s = the_state.shaders[shader];
    if (pname == kGlCompileStatus) {
        *params = s.compiled ? 1 : 0;
    } else if (pname == kGlInfoLogLength) {
        *params = s.log.empty() ? 0 : static_cast<std::int32_t>(s.log.size() + 1);
    }
}

void INTRO_GLAPI get_shader_info_log(std::uint32_t shader, std::int32_t max_length,
                                     std::int32_t* length, char* log) {
    log_call("glGetShaderInfoLog(%u, %d)", shader, max_length);
    const std::string& text = the_state.shaders[shader].log;
    const auto n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(max_length - 1));
    std::memcpy(log, text.data(), n);
    log[n] = '\0';
    if (length != nullptr) {
        *length = static_cast<std::int32_t>(n);
    }
}

std::uint8_t INTRO_GLAPI is_program(std::uint32_t program) {
    log_call("glIsProgram(%u)", program);
    return the_state.programs.count(program) != 0 ? 1 : 0;
}

void INTRO_GLAPI get_attached_shaders(std::uint32_t program, std::int32_t max_count,
                                      std::int32_t* count, std::uint32_t* shaders) {
    log_call("glGetAttachedShaders(%u, %d)", program, max_count);
    const auto& attached = the_state.programs[program].attached;
    std::int32_t n = 0;
    for (; n < max_count && n < static_cast<std::int32_t>(attached.size()); ++n) {
        shaders[n] = attached[static_cast<std::size_t>(n)];
    }
    *count = n;
}

void INTRO_GLAPI unused_entry() {
    log_call("unused entry point called");
}

struct NamedProc {
    const char* name;
    GlProc proc;
};

const NamedProc kNamedProcs[] = {
    {"glCreateShaderProgramv", reinterpret_cast<GlProc>(create_shader_program_v)},
    {"glUseProgram", reinterpret_cast<GlProc>(use_program)},
    {"glUniform3f", reinterpret_cast<GlProc>(uniform3f)},
    {"glUniform2i", reinterpret_cast<GlProc>(uniform2i)},
    {"glGetProgramiv", reinterpret_cast<GlProc>(get_programiv)},
    {"glGetProgramInfoLog", reinterpret_cast<GlProc>(get_program_info_log)},
    {"glGetShaderiv", reinterpret_cast<GlProc>(get_shaderiv)},
    {"glGetShaderInfoLog", reinterpret_cast<GlProc>(get_shader_info_log)},
    {"glIsProgram", reinterpret_cast<GlProc>(is_program)},
    {"glGetAttachedShaders", reinterpret_cast<GlProc>(get_attached_shaders)},
};

} // namespace

State& state() {
    return the_state;
}

void reset() {
    the_state = State{};
}

std::vector<std::string> calls_starting_with(const std::string& prefix) {
    std::vector<std::string> found;
    for (const auto& call : the_state.calls) {
        if (call.rfind(prefix, 0) == 0) {
            found.push_back(call);
        }
    }
    return found;
}

} // namespace fake

using fake::log_call;
using fake::the_state;

// ---- GL 1.1, linked directly in the real program ----

extern "C" {
void INTRO_GLAPI glBindTexture(std::uint32_t target, std::uint32_t texture) {
    log_call("glBindTexture(0x%X, %u)", target, texture);
}
void INTRO_GLAPI glTexParameteri(std::uint32_t target, std::uint32_t pname, std::int32_t param) {
    log_call("glTexParameteri(0x%X, 0x%X, 0x%X)", target, pname, param);
}
void INTRO_GLAPI glRects(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
    log_call("glRects(%d, %d, %d, %d)", x1, y1, x2, y2);
}
void INTRO_GLAPI glCopyTexImage2D(std::uint32_t target, std::int32_t level,
                                  std::uint32_t internal_format, std::int32_t x, std::int32_t y,
                                  std::int32_t width, std::int32_t height, std::int32_t border) {
    log_call("glCopyTexImage2D(0x%X, %d, 0x%X, %d, %d, %d, %d, %d)", target, level, internal_format,
             x, y, width, height, border);
}
void INTRO_GLAPI glViewport(std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height) {
    log_call("glViewport(%d, %d, %d, %d)", x, y, width, height);
}
std::uint32_t INTRO_GLAPI glGetError() {
    if (the_state.gl_errors.empty()) {
        return 0;
    }
    const std::uint32_t code = the_state.gl_errors.front();
    the_state.gl_errors.pop_front();
    return code;
}
}

// ---- The seam ----

void* sys_module_instance() {
    return &the_state;
}

int sys_window_init(WindowHandles& handles, const PixelFormatDescriptor& format) {
    log_call("sys_window_init(depth %d, alpha %d)", format.depth_bits, format.alpha_bits);
    if (the_state.window_init_result != 0) {
        handles.hwnd = &the_state;
        handles.dc = &the_state;
        handles.glrc = &the_state;
    }
    return the_state.window_init_result;
}

void sys_window_deinit(WindowHandles&) {
    log_call("sys_window_deinit");
}

void sys_swap_buffers(const WindowHandles&) {
    log_call("sys_swap_buffers");
}

bool sys_peek_message(WindowMessage& message) {
    if (!the_state.messages.empty()) {
        message = the_state.messages.front();
        the_state.messages.pop_front();
        return true;
    }
    if (the_state.quit_posted) {
        the_state.quit_posted = false;
        message = WindowMessage{};
        message.message = kWmQuit;
        return true;
    }
    return false;
}

void sys_dispatch_message(const WindowMessage& message) {
    window_proc(message.window, message.message, message.wparam, message.lparam);
}

void sys_post_quit_message(int exit_code) {
    log_call("sys_post_quit_message(%d)", exit_code);
    the_state.quit_posted = true;
}

std::intptr_t sys_default_window_proc(void*, std::uint32_t message, std::uintptr_t wparam,
                                      std::intptr_t) {
    log_call("sys_default_window_proc(0x%X, 0x%zX)", message, static_cast<std::size_t>(wparam));
    return 0;
}

void sys_set_window_title(const WindowHandles&, const char* text) {
    log_call("sys_set_window_title");
    the_state.title = text;
}

void sys_message_box(const char* text, const char* caption) {
    log_call("sys_message_box(%s, %s)", text, caption);
}

void sys_restore_display_mode() {
    log_call("sys_restore_display_mode");
}

int sys_show_cursor(bool show) {
    log_call("sys_show_cursor(%d)", show ? 1 : 0);
    return show ? 0 : -1;
}

void sys_cursor_position(std::int32_t& x, std::int32_t& y) {
    log_call("sys_cursor_position");
    x = the_state.cursor_x;
    y = the_state.cursor_y;
}

bool sys_key_down_or_pressed(int virtual_key) {
    log_call("sys_key_down_or_pressed(0x%X)", virtual_key);
    if (virtual_key == kVkEscape && the_state.escape_after_queries >= 0) {
        if (the_state.escape_after_queries == 0) {
            return true;
        }
        --the_state.escape_after_queries;
        return false;
    }
    auto found = the_state.key_down_queries.find(virtual_key);
    if (found != the_state.key_down_queries.end() && found->second > 0) {
        --found->second;
        return true;
    }
    return false;
}

GlProc sys_gl_proc_address(const char* name) {
    log_call("lookup %s", name);
    if (the_state.missing_procs.count(name) != 0) {
        return nullptr;
    }
    for (const auto& named : fake::kNamedProcs) {
        if (std::strcmp(named.name, name) == 0) {
            return named.proc;
        }
    }
    return fake::unused_entry;
}

void sys_thread_start(void (*)(float*), float*) {
    log_call("sys_thread_start");
}

bool sys_audio_open(const WaveFormat& format) {
    log_call("sys_audio_open(tag %u, %u channels, %u Hz, %u bits)", format.format_tag,
             format.channels, format.samples_per_sec, format.bits_per_sample);
    return the_state.audio_available;
}

void sys_audio_prepare(WaveHeader& header) {
    log_call("sys_audio_prepare(%u bytes)", header.length_bytes);
}

void sys_audio_write(WaveHeader& header) {
    log_call("sys_audio_write(%u bytes)", header.length_bytes);
    if (the_state.audio_available) {
        the_state.audio_samples = 0;
    }
}

void sys_audio_reset() {
    log_call("sys_audio_reset");
}

bool sys_audio_position(std::uint32_t& samples) {
    log_call("sys_audio_position");
    if (!the_state.audio_available) {
        return false;
    }
    samples = the_state.audio_samples;
    return true;
}

bool sys_console_create() {
    log_call("sys_console_create");
    return true;
}
bool sys_console_attach_parent() {
    log_call("sys_console_attach_parent");
    return true;
}
bool sys_console_release() {
    log_call("sys_console_release");
    return true;
}
bool sys_console_lines(std::int16_t& lines) {
    lines = 300;
    return true;
}
void sys_console_set_lines(std::int16_t lines) {
    log_call("sys_console_set_lines(%d)", lines);
}
bool sys_std_handle_present(StdStream) {
    return true;
}
bool sys_std_reopen(StdStream stream, StdTarget target) {
    log_call("sys_std_reopen(%s, %s)", fake::stream_name(stream),
             target == StdTarget::console ? "console" : "null");
    return true;
}

int sys_file_mtime(const char* path, std::int64_t& mtime) {
    const auto found = the_state.file_times.find(path);
    if (found != the_state.file_times.end()) {
        if (found->second.error == 0) {
            mtime = found->second.mtime;
        }
        return found->second.error;
    }
    struct stat status {};
    if (stat(path, &status) != 0) {
        return errno;
    }
    mtime = status.st_mtime;
    return 0;
}

void sys_exit_process(int code) {
    log_call("sys_exit_process(%d)", code);
    throw fake::ProcessExit{code};
}
