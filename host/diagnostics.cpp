#include "host/diagnostics.h"

#include "host/gl_api.h"
#include "host/gl_procs.h"
#include "host/window_context.h"

#include <cstdio>

FrameStats frame_stats_state;
char frame_title[kTitleBytes] = {};

bool dbg_init(const PixelFormatDescriptor& format) {
    program_window = WindowContext(format);
    if (!program_window.created) {
        return false;
    }
    gl_load_procs(gl_procs);
    std::printf("dbg_init done!\n");
    return true;
}

void dbg_deinit() {
    std::printf("dbg_deinit done!\n");
    program_window.close();
}

void frame_stats(float time) {
    FrameStats& s = frame_stats_state;
    const float step = time - s.last_time;
    if (step > 0.0f) {
        s.fps = 1.0f / step;
        s.fps_smoothed = 0.9f * s.fps + 0.1f * s.fps_smoothed;
        if (!(s.fps > s.fps_min)) {
            s.fps_min = s.fps;
        }
    }
    s.frame_count += 1;
    // At time 0 the average is infinite and printed as such.
    const float average = static_cast<float>(s.frame_count) / time;
    std::snprintf(frame_title, sizeof frame_title,
                  "TIME: %.2f   FRAME: %i   FPS: %.2f / %.2f, %.2f", static_cast<double>(time),
                  s.frame_count, static_cast<double>(s.fps_smoothed), static_cast<double>(average),
                  static_cast<double>(s.fps_min));
    s.last_time = time;
    sys_set_window_title(program_window.handles, frame_title);
    program_window.swap_and_pump();
}

std::uint32_t gl_check_errors(const char* file, int line) {
    std::uint32_t code = glGetError();
    while (code != 0) {
        const char* name = "";
        switch (code) {
        case 0x0500:
            name = "INVALID_ENUM";
            break;
        case 0x0501:
            name = "INVALID_VALUE";
            break;
        case 0x0502:
            name = "INVALID_OPERATION";
            break;
        case 0x0505:
            name = "OUT_OF_MEMORY";
            break;
        case 0x0506:
            name = "INVALID_FRAMEBUFFER_OPERATION";
            break;
        default:
            break;
        }
        std::printf("%s:%d\t%s\n", file, line, name);
        code = glGetError();
    }
    std::printf("%s:%d\t(gl valid)\n", file, line);
    return code;
}
