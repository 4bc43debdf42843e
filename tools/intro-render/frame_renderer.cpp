#include "frame_renderer.h"

#include "headless_gl.h"
#include "host/embedded_shader.h"
#include "host/frame_passes.h"
#include "host/gl_api.h"
#include "host/gl_lookup.h"
#include "host/gl_procs.h"
#include "host/shader_programs.h"

#include <cmath>

namespace frame_renderer {

bool open(std::string& error) {
    return headless::open(error);
}

void close() {
    headless::close();
}

const char* embedded_shader_text() {
    return embedded_shader;
}

bool use_shader(const char* text, const char* name, std::string& error) {
    gl_load_procs(gl_procs);
    auto create = gl_lookup<PfnGlCreateShaderProgramv>("glCreateShaderProgramv");
    auto use = gl_lookup<PfnGlUseProgram>("glUseProgram");
    if (const char* missing = first_missing_entry_point()) {
        error = std::string("the OpenGL driver lacks ") + missing;
        return false;
    }
    // Built and checked as the program builds its own: the check writes the log to stderr.
    const std::uint32_t program = create(kGlFragmentShader, 1, &text);
    if (!CheckProgram(program, name)) {
        error = std::string("the shader ") + name + " did not compile or link (its log is above)";
        return false;
    }
    use(program);
    return true;
}

void draw(std::int32_t play_position, int last_pass, std::span<std::uint8_t> rgba) {
    draw_frame_passes(play_position, last_pass);
    headless::read_pixels(rgba);
}

std::int32_t position_at(double seconds) {
    return static_cast<std::int32_t>(std::lround(seconds * samples_per_second));
}

std::string driver_description() {
    return headless::renderer_description();
}

} // namespace frame_renderer
