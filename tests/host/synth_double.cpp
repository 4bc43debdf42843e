// Stands in for the synthesizer in the host's tests: the fake backend never runs the render
// thread, so nothing here is called; it only has to link.
#include "synth/render_song.h"
#include "synth/sound_buffer.h"

float SoundBuffer[kSoundBufferFloats];

void render_song(float*) {}

std::uint32_t rendered_frames() {
    return 0;
}
