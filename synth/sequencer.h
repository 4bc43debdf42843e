// The song sequencer: note events once per row, the patch machine once per frame.
#pragma once

#include "patch_vm.h"
#include "song/song.h"
#include "synth_state.h"

#include <atomic>
#include <cstdint>

// Applies the note events of one row (0..639) to voices 0..2.
void update_voices(SynthState& state, const Song& song, std::uint32_t row);

// Where a render stands: song_sample counts the frames completed; the signal stack lives on
// across frames like the state.
struct RenderCursor {
    std::uint32_t song_sample = 0;
    SignalStack stack{};
};

// Renders the cursor's frame into destination (frame 0 of the song), applying the row's note
// events first when the frame starts a row.
void render_frame(SynthState& state, RenderCursor& cursor, const Song& song, float* destination);

// Renders `rows` whole rows from the cursor's row on into destination (frame 0 of the song), and
// after each frame publishes the count of finished frames with a release store when asked to.
void render_rows(SynthState& state, RenderCursor& cursor, const Song& song, float* destination,
                 std::uint32_t rows, std::atomic<std::uint32_t>* published);
