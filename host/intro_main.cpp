#include "host/intro_main.h"

#include "host/console.h"
#include "host/diagnostics.h"
#include "host/embedded_shader.h"
#include "host/frame_inputs.h"
#include "host/frame_passes.h"
#include "host/gl_api.h"
#include "host/gl_lookup.h"
#include "host/gl_procs.h"
#include "host/shader_programs.h"
#include "host/sound.h"
#include "host/window_context.h"

#include <cstdio>
#include <string>

namespace {

// The start-up link check: CheckProgram's sequence with a message that names nothing.
void check_embedded_link(std::uint32_t program) {
    std::int32_t status = 0;
    std::int32_t length = 0;
    gl_proc<PfnGlGetProgramiv>(kSlotGetProgramiv)(program, kGlLinkStatus, &status);
    gl_proc<PfnGlGetProgramiv>(kSlotGetProgramiv)(program, kGlInfoLogLength, &length);
    if (status == 0) {
        std::fprintf(stderr, "ERROR: CheckProgram: failed to link!\n");
    }
    if (length > 1) {
        std::string log(static_cast<std::size_t>(length) + 1, '\0');
        gl_proc<PfnGlGetProgramInfoLog>(kSlotGetProgramInfoLog)(program, length, nullptr,
                                                                log.data());
        std::fprintf(stderr, "%s\n", log.c_str());
    }
}

} // namespace

bool intro_startup() {
    if (console_alloc(kConsoleLines)) {
        std::printf("Test output\n");
        std::fprintf(stdout, "Test output to stdout\n");
        std::fprintf(stderr, "Test output to stderr\n");
    }
    if (!dbg_init(pixel_format)) {
        return false;
    }
    // Never call through an empty entry: without OpenGL 4.3 the piece cannot run at all.
    if (const char* missing = first_missing_entry_point()) {
        std::fprintf(stderr,
                     "ERROR: the OpenGL driver lacks %s; the intro needs OpenGL 4.3. "
                     "Update the graphics driver or run it on a machine that has it.\n",
                     missing);
        dbg_deinit();
        return false;
    }
    init_sound();
    const std::uint32_t program = gl_lookup<PfnGlCreateShaderProgramv>("glCreateShaderProgramv")(
        kGlFragmentShader, 1, &embedded_shader);
    check_embedded_link(program);
    // Made current whatever the link gave: the GL refuses an unlinked program and the passes
    // then draw without one, while a later hot reload can still install a working program.
    gl_lookup<PfnGlUseProgram>("glUseProgram")(program);
    return true;
}

void intro_frame() {
    hotreload_poll(kHotReloadPath);
    std::int32_t cursor_x = 0;
    std::int32_t cursor_y = 0;
    sys_cursor_position(cursor_x, cursor_y);
    const MouseValues mouse = mouse_values(cursor_x, cursor_y, sys_key_down_or_pressed(kVkRButton));
    if (auto uniform3f = gl_lookup<PfnGlUniform3f>("glUniform3f")) {
        uniform3f(kUniformMouse, mouse.x, mouse.y, mouse.button);
    }
    const std::int32_t play_position = read_play_position();
    draw_frame_passes(play_position);
    frame_stats(time_from_position(play_position));
}

void intro_shutdown() {
    dbg_deinit();
    console_detach();
    sys_restore_display_mode();
    sys_show_cursor(true);
}

void intro_main() {
    if (!intro_startup()) {
        sys_exit_process(1);
    }
    do {
        intro_frame();
    } while (!sys_key_down_or_pressed(kVkEscape));
    intro_shutdown();
    sys_exit_process(0);
}
