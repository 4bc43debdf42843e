// The render thread's entry and the progress it publishes.
#pragma once

#include <cstdint>

// Renders the whole song into destination (at least kSongFrames stereo frames), front to back.
// Runs once per process on the program's own SynthState; it neither clears nor resumes it.
void render_song(float* destination);

// Frames of the current render that are finished and will never be written again. A reader on
// another thread may read exactly this many frames of the destination without racing the writer
// (the count is published with release and read with acquire).
std::uint32_t rendered_frames();
