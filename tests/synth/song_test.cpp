#include "render_song.h"
#include "sequencer.h"
#include "sound_buffer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kGuardFloats = 64;

// The whole song, rendered once by render_song on its own thread while this thread reads the
// frames it publishes, as the program's playback does.
class SongRender : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        buffer_ = new std::vector<float>(kSoundBufferFloats + kGuardFloats, std::nanf(""));
        seen_early_ = new std::vector<float>(kSoundBufferFloats, 0.0f);
        std::thread render([] { render_song(buffer_->data()); });
        std::uint32_t read = 0;
        while (read < kSongFrames) {
            const std::uint32_t ready = rendered_frames();
            ASSERT_GE(ready, read) << "the published count went backwards";
            std::memcpy(seen_early_->data() + 2 * std::size_t{read},
                        buffer_->data() + 2 * std::size_t{read},
                        (ready - read) * 2 * sizeof(float));
            read = ready;
        }
        render.join();
    }
    static void TearDownTestSuite() {
        delete buffer_;
        delete seen_early_;
    }
    static const float* frames() { return buffer_->data(); }

    static std::vector<float>* buffer_;
    static std::vector<float>* seen_early_;
};

std::vector<float>* SongRender::buffer_ = nullptr;
std::vector<float>* SongRender::seen_early_ = nullptr;

} // namespace

TEST_F(SongRender, WritesEveryFrameUpToTheLastAndNothingBeyond) {
    EXPECT_EQ(rendered_frames(), kSongFrames);
    const float* f = frames();
    EXPECT_FALSE(std::isnan(f[2 * (kSongFrames - 1)]));
    EXPECT_FALSE(std::isnan(f[2 * (kSongFrames - 1) + 1]));
    for (std::size_t i = kSoundBufferFloats; i < kSoundBufferFloats + kGuardFloats; ++i) {
        ASSERT_TRUE(std::isnan(f[i])) << "written past the end at float " << i;
    }
}

TEST_F(SongRender, PublishedFramesAreFinalWhenReadOnAnotherThread) {
    EXPECT_EQ(std::memcmp(seen_early_->data(), frames(), kSoundBufferBytes), 0);
}

TEST_F(SongRender, IsMonoAndAudible) {
    const float* f = frames();
    double peak = 0.0;
    for (std::uint32_t n = 0; n < kSongFrames; ++n) {
        ASSERT_EQ(std::bit_cast<std::uint32_t>(f[2 * n]),
                  std::bit_cast<std::uint32_t>(f[2 * n + 1]))
            << n;
        ASSERT_TRUE(std::isfinite(f[2 * n])) << n;
        peak = std::max(peak, std::fabs(static_cast<double>(f[2 * n])));
    }
    EXPECT_GT(peak, 0.1);
    EXPECT_LT(peak, 1.0);
    EXPECT_NE(f[0], 0.0f); // voices get their notes before frame 0
}

namespace {

float drone_colour(const SynthState& s) {
    return static_cast<float>(0.5 + static_cast<double>(s.voices[0].units[1].ports[3]));
}

std::int32_t drone_envelope_stage(const SynthState& s) {
    return std::bit_cast<std::int32_t>(s.voices[0].units[0].state[0]);
}

} // namespace

// Steps the song frame by frame on a state of its own, watching the modulation reach the drone.
TEST(SongContent, DroneColourFollowsVoicesOneAndTwoTwoFramesLate) {
    auto state = std::make_unique<SynthState>();
    std::vector<float> out(kSoundBufferFloats);
    RenderCursor cursor;
    auto colour_at = [&](std::uint32_t frame) {
        while (cursor.song_sample < frame) {
            render_frame(*state, cursor, the_song, out.data());
        }
        return drone_colour(*state); // what the drone's next decoding will see
    };
    std::uint32_t attack_done = 0;
    auto watch_until = [&](std::uint32_t frame) {
        while (cursor.song_sample < frame) {
            render_frame(*state, cursor, the_song, out.data());
            if (attack_done == 0 && drone_envelope_stage(*state) == 1) {
                attack_done = cursor.song_sample - 1;
            }
        }
    };
    EXPECT_EQ(colour_at(0), 0.5f);
    EXPECT_EQ(colour_at(1), 0.546875f);
    EXPECT_EQ(colour_at(2), 0.6875f);
    EXPECT_EQ(colour_at(1000), 0.6875f);

    struct RowStart {
        std::uint32_t row;
        float first, second, settled;
    };
    const RowStart rows[] = {
        {128, 0.6875f, 0.59375f, 0.875f}, // note-on on voice 1 only
        {224, 0.875f, 0.875f, 0.734375f}, // note-on on voice 2 only
        {240, 0.734375f, 0.734375f, 0.59375f},
        {480, 0.6875f, 0.6875f, 0.6875f}, // the repeated note changes nothing
        {624, 0.20703125f, 0.20703125f, 0.125f},
    };
    for (const RowStart& r : rows) {
        const std::uint32_t start = r.row * kRowFrames;
        watch_until(start);
        EXPECT_EQ(colour_at(start), r.first) << "row " << r.row;
        EXPECT_EQ(colour_at(start + 1), r.second) << "row " << r.row;
        EXPECT_EQ(colour_at(start + 2), r.settled) << "row " << r.row;
        EXPECT_EQ(colour_at(start + 4000), r.settled) << "row " << r.row;
    }

    // The drone's attack ends about 14.67 s in; the decay to sustain takes 256 frames.
    EXPECT_NEAR(attack_done / 44100.0, 14.67, 0.01);
    EXPECT_EQ(drone_envelope_stage(*state), 2);

    // Voice 3 only ever handles zeros: the aux pair stays empty and no delay line holds a sample.
    EXPECT_EQ(state->outputs[2], 0.0f);
    EXPECT_EQ(state->outputs[3], 0.0f);
    for (const DelayLine& line : state->delay_lines) {
        ASSERT_TRUE(std::all_of(std::begin(line.ring), std::end(line.ring),
                                [](float v) { return v == 0.0f; }));
    }
}
