#include "song_samples.h"

#include "patch_check.h"
#include "sequencer.h"
#include "sound_buffer.h"

#include <memory>
#include <mutex>
#include <optional>

namespace {

struct SongRender {
    std::unique_ptr<SynthState> state = std::make_unique<SynthState>();
    RenderCursor cursor;
    std::uint32_t rows_done = 0;
};

std::mutex render_mutex;

} // namespace

bool song_through(std::uint32_t end_frame, std::span<const float>& samples, std::string& error) {
    if (end_frame > kSongFrames) {
        error = "the song has only " + std::to_string(kSongFrames) + " frames";
        return false;
    }
    std::lock_guard lock(render_mutex);
    static std::optional<std::string> patch_fault = check_patch(the_song);
    if (patch_fault) {
        error = "the song's patch is malformed: " + *patch_fault;
        return false;
    }
    static SongRender render;
    const std::uint32_t rows = (end_frame + kRowFrames - 1) / kRowFrames;
    if (rows > render.rows_done) {
        render_rows(*render.state, render.cursor, the_song, SoundBuffer, rows - render.rows_done,
                    nullptr);
        render.rows_done = rows;
    }
    samples = std::span<const float>(SoundBuffer, std::size_t{2} * end_frame);
    return true;
}
