#include "sequencer.h"

#include "render_song.h"
#include "sound_buffer.h"

#include <cstring>

SynthState synth_state;
alignas(64) float SoundBuffer[kSoundBufferFloats];

namespace {

std::atomic<std::uint32_t> finished_frames{0};

// A note-on restarts the whole voice: every word but the note goes back to zero.
void start_note(Voice& voice, std::uint8_t note) {
    voice.release_count = 0;
    std::memset(voice.params, 0, sizeof voice.params);
    std::memset(voice.units, 0, sizeof voice.units);
    voice.note = note;
}

} // namespace

void update_voices(SynthState& state, const Song& song, std::uint32_t row) {
    const std::uint32_t order = row / kPatternRows;
    const std::uint32_t pattern_row = row % kPatternRows;
    for (int t = 0; t < kTrackCount; ++t) {
        const std::uint8_t pattern = song.tracks[kOrderPositions * t + order];
        const std::uint8_t event = song.patterns[kPatternRows * pattern + pattern_row];
        Voice& voice = state.voices[t];
        if (event == kEventRelease) {
            ++voice.release_count;
        } else if (event != kEventHold) {
            start_note(voice, event);
        }
    }
}

void render_frame(SynthState& state, RenderCursor& cursor, const Song& song, float* destination) {
    if (cursor.song_sample % kRowFrames == 0) {
        update_voices(state, song, cursor.song_sample / kRowFrames);
    }
    run_vm(state, cursor.stack, song.patch(), song.voice_count, cursor.song_sample);
    float* out = destination + 2 * std::size_t{cursor.song_sample};
    out[0] = state.outputs[0];
    out[1] = state.outputs[1];
    state.outputs[0] = 0.0f;
    state.outputs[1] = 0.0f;
    ++cursor.song_sample;
}

void render_rows(SynthState& state, RenderCursor& cursor, const Song& song, float* destination,
                 std::uint32_t rows, std::atomic<std::uint32_t>* published) {
    const std::uint32_t end = cursor.song_sample + rows * kRowFrames;
    while (cursor.song_sample < end) {
        render_frame(state, cursor, song, destination);
        if (published != nullptr) {
            published->store(cursor.song_sample, std::memory_order_release);
        }
    }
}

void render_song(float* destination) {
    RenderCursor cursor;
    render_rows(synth_state, cursor, the_song, destination, kSongRows, &finished_frames);
}

std::uint32_t rendered_frames() {
    return finished_frames.load(std::memory_order_acquire);
}
