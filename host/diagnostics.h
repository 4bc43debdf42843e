// Developer diagnostics: start-up and shutdown of the window and GL table, the frame statistics
// in the window title, and the report of pending GL errors.
#pragma once

#include "host/platform/sys.h"

#include <cstdint>

struct FrameStats {
    std::int32_t frame_count = 0;
    float last_time = 0.0f;
    float fps = 0.0f;
    float fps_smoothed = 0.0f;
    float fps_min = 1000.0f;
};

inline constexpr int kTitleBytes = 1024;

extern FrameStats frame_stats_state;
// The title most recently set by frame_stats.
extern char frame_title[kTitleBytes];

// Creates the program's window and context, resolves the GL table and says "dbg_init done!".
// Returns false, having done neither of the last two, when the window could not be created.
bool dbg_init(const PixelFormatDescriptor& format);

// Says "dbg_deinit done!" and releases the window and context.
void dbg_deinit();

// Counts the frame, updates the rates measured on the audio clock (time in seconds), shows them
// in the title, then presents the frame and drains the message queue.
void frame_stats(float time);

// Writes every queued GL error by name, then "(gl valid)", each line with file and line; returns
// the last code read (0).
std::uint32_t gl_check_errors(const char* file, int line);
