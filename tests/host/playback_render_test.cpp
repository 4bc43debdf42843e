// The real render thread and the SDL backend's player side by side, as in the program: the
// device thread takes only published frames, and those are final. Under ThreadSanitizer this
// checks that the synthesizer's progress counter orders its writes before the player's reads.
#include "host/platform/sdl/stream_player.h"
#include "synth/render_song.h"
#include "synth/sound_buffer.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

TEST(PlaybackWithRenderThread, PlaysOnlyFinishedFramesWhileTheSongRenders) {
    constexpr std::uint32_t kPeriod = 512;
    constexpr std::uint32_t kPlayFrames = 64 * kPeriod;
    StreamPlayer player(SoundBuffer, kSongFrames, rendered_frames, kSampleRate);
    player.start(0, kSongFrames, 0);

    // Never joined, as in the program; the process may end while it still renders.
    std::thread(render_song, SoundBuffer).detach();

    std::vector<float> played(2 * std::size_t{kPlayFrames});
    std::thread device([&] {
        for (std::uint32_t done = 0; done < kPlayFrames; done += kPeriod) {
            player.fill(played.data() + 2 * std::size_t{done}, kPeriod, 0);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    std::uint32_t last = 0;
    while (last < kPlayFrames) {
        const std::uint32_t now = player.position(0);
        ASSERT_GE(now, last);
        last = now;
        if (now >= kPlayFrames - kPeriod) {
            break;
        }
        std::this_thread::yield();
    }
    device.join();

    // Whatever was played is either silence (not yet rendered) or the finished frame.
    const std::uint32_t finished = rendered_frames();
    std::uint32_t compared = 0;
    for (std::uint32_t f = 0; f < kPlayFrames && f < finished; ++f) {
        const float left = played[2 * f];
        const float right = played[2 * f + 1];
        if (left != 0.0f || right != 0.0f) {
            ASSERT_EQ(left, SoundBuffer[2 * f]) << "frame " << f;
            ASSERT_EQ(right, SoundBuffer[2 * f + 1]) << "frame " << f;
            ++compared;
        }
    }
    RecordProperty("frames_compared", static_cast<int>(compared));
}

} // namespace
