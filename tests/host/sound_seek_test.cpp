#include "host/frame_inputs.h"
#include "host/sound.h"
#include "host/window_context.h"
#include "host_test_support.h"
#include "synth/sound_buffer.h"

#include <cctype>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

struct SeekCase {
    const char* what;
    std::int32_t offset_before;
    std::uint32_t device_samples;
    std::int32_t direction;
    std::int32_t expected_offset;
};

class SeekTest : public HostTest, public testing::WithParamInterface<SeekCase> {};

TEST_P(SeekTest, RestartsPlaybackAtTheComputedIndex) {
    const SeekCase& c = GetParam();
    seek_offset = c.offset_before;
    fake::state().audio_samples = c.device_samples;
    CaptureStdout();
    audio_seek(c.direction);
    EXPECT_EQ(GetCapturedStdout(), "last offset " + std::to_string(c.offset_before) + "\n");
    EXPECT_EQ(seek_offset, c.expected_offset) << c.what;
    EXPECT_EQ(wave_header.data, SoundBuffer + c.expected_offset);
    EXPECT_EQ(wave_header.length_bytes, kSongBytes - 4u * std::uint32_t(c.expected_offset));
    EXPECT_THAT(
        fake::state().calls,
        ElementsAre("sys_audio_position", "sys_audio_reset",
                    "sys_audio_write(" + std::to_string(wave_header.length_bytes) + " bytes)"));
}

constexpr std::uint32_t kEnd = 2'981'120; // frames in the song

// A readable test name from the case's description.
std::string test_name(const char* what) {
    std::string name;
    bool upper = true;
    for (const char* c = what; *c != '\0'; ++c) {
        if (std::isalnum(static_cast<unsigned char>(*c)) != 0) {
            name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(
    Seeks, SeekTest,
    testing::Values(SeekCase{"forward from the start", 0, 0, +1, 88'200},
                    SeekCase{"back at 0.4 s clamps to the start", 0, 17'640, -1, 0},
                    SeekCase{"forward 0.5 s before the end wraps", 0, kEnd - 22'050, +1, 44'100},
                    SeekCase{"forward exactly at the end", 0, kEnd, +1, 88'200},
                    SeekCase{"back exactly at the end", 0, kEnd, -1, 5'874'040},
                    SeekCase{"landing on the end wraps to 0", 0, 2'937'020, +1, 0},
                    SeekCase{"counts from the current playback", 88'200, 44'100, +1, 264'600},
                    SeekCase{"back from a later playback", 264'600, 0, -1, 176'400}),
    [](const testing::TestParamInfo<SeekCase>& param) { return test_name(param.param.what); });

TEST_F(HostTest, SeekWithoutDeviceMovesOnlyByTheOffset) {
    fake::state().audio_available = false;
    fake::state().audio_samples = 12'345; // never reported
    CaptureStdout();
    audio_seek(+1);
    audio_seek(+1);
    audio_seek(-1);
    GetCapturedStdout();
    EXPECT_EQ(seek_offset, 88'200);
    EXPECT_EQ(read_play_position(), 44'100);
}

TEST_F(HostTest, SeveralSeeksInOneDrainEachReadThePositionAnew) {
    create_window_and_table();
    fake::state().audio_samples = 1'000;
    for (int i = 0; i < 3; ++i) {
        fake::state().messages.push_back({nullptr, kWmKeyDown, kVkRight, 0, 0, 0, 0});
    }
    CaptureStdout();
    program_window.swap_and_pump();
    // The first seek plays from 1000 frames + 1 s; each restart counts from 0 again.
    EXPECT_THAT(lines_of(GetCapturedStdout()),
                ElementsAre("last offset 0", "last offset 90200", "last offset 178400"));
    EXPECT_EQ(seek_offset, 266'600);
    EXPECT_EQ(fake::calls_starting_with("sys_audio_position").size(), 3u);
}

TEST_F(HostTest, PlayPositionAddsHalfTheOffsetToTheDeviceCount) {
    seek_offset = 88'200;
    fake::state().audio_samples = 100;
    EXPECT_EQ(read_play_position(), 44'200);
    EXPECT_EQ(device_position, 100u);
    EXPECT_FLOAT_EQ(time_from_position(44'100), 1.0f);
    EXPECT_EQ(time_from_position(0), 0.0f);
}

TEST_F(HostTest, StartsRenderThreadBeforeTheDevice) {
    init_sound();
    EXPECT_THAT(
        fake::state().calls,
        ElementsAre("sys_thread_start", "sys_audio_open(tag 3, 2 channels, 44100 Hz, 32 bits)",
                    "sys_audio_prepare(23848960 bytes)", "sys_audio_write(23848960 bytes)"));
    EXPECT_EQ(wave_header.data, SoundBuffer);
}

} // namespace
