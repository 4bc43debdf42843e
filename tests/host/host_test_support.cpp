#include "host_test_support.h"

#include "host/diagnostics.h"
#include "host/gl_procs.h"
#include "host/shader_programs.h"
#include "host/sound.h"
#include "host/window_context.h"
#include "synth/sound_buffer.h"

#include <sstream>

void reset_host() {
    fake::reset();
    program_window = WindowContext{};
    gl_procs = initial_gl_proc_table();
    hot_reload = HotReloadState{};
    frame_stats_state = FrameStats{};
    seek_offset = 0;
    device_position = 0;
    wave_header = WaveHeader{SoundBuffer, kSongBytes};
}

void create_window_and_table() {
    program_window = WindowContext(pixel_format);
    gl_load_procs(gl_procs);
    fake::state().calls.clear();
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}
