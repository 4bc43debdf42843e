// The arithmetic that keeps the video's frames and sound on the song's clock, and the options'
// checks.
#include "progress_line.h"
#include "sound_buffer.h"
#include "video_plan.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

VideoPlan planned(const std::vector<std::string>& args) {
    VideoOptions options;
    bool help = false;
    std::string error;
    VideoPlan plan;
    EXPECT_TRUE(parse_video_options(args, options, help, error)) << error;
    EXPECT_TRUE(plan_video(options, plan, error)) << error;
    return plan;
}

TEST(VideoPlan, TheWholeSongAtSixtyFramesASecondIs4056FramesAndEverySample) {
    const VideoPlan plan = planned({"-o", "intro.mp4"});
    EXPECT_EQ(plan.frame_count, 4056);
    EXPECT_EQ(plan.first_sample_frame, 0u);
    EXPECT_EQ(plan.sample_frame_count, kSongFrames);
    // The picture and the sound end within one frame of each other.
    const double video_seconds = plan.frame_count / 60.0;
    EXPECT_LT(std::fabs(video_seconds - kSongFrames / 44100.0), 1.0 / 60.0);
    EXPECT_EQ(plan.frame_position(4055), std::lround(4055 / 60.0 * 44100));
}

TEST(VideoPlan, FramesSitAtTheRoundedPlayPositionOfTheirMoment) {
    const VideoPlan plan =
        planned({"-o", "a.mp4", "--fps", "29.97", "--from", "12.3456", "--to", "14"});
    EXPECT_EQ(plan.frame_count, std::lround((14 - 12.3456) * 29.97));
    EXPECT_EQ(plan.first_sample_frame, static_cast<std::uint32_t>(std::lround(12.3456 * 44100)));
    EXPECT_EQ(plan.sample_frame_count,
              static_cast<std::uint32_t>(std::lround(14.0 * 44100) - std::lround(12.3456 * 44100)));
    for (const int n : {0, 1, 7, plan.frame_count - 1}) {
        EXPECT_EQ(plan.frame_position(n), std::lround((12.3456 + n / 29.97) * 44100)) << n;
    }
    const VideoPlan tenth = planned({"-o", "b.mp4", "--fps", "10", "--to", "0.5"});
    EXPECT_EQ(tenth.frame_count, 5);
    EXPECT_EQ(tenth.frame_position(3), 13230);
}

struct BadUsage {
    std::vector<std::string> args;
    const char* says;
};

// Names the case by its arguments in test listings.
void PrintTo(const BadUsage& usage, std::ostream* out) {
    for (const std::string& arg : usage.args) {
        *out << arg << ' ';
    }
}

class VideoOptionErrors : public ::testing::TestWithParam<BadUsage> {};

TEST_P(VideoOptionErrors, AreRefusedWithAMessage) {
    VideoOptions options;
    bool help = false;
    std::string error;
    VideoPlan plan;
    const bool accepted = parse_video_options(GetParam().args, options, help, error) &&
                          plan_video(options, plan, error);
    EXPECT_FALSE(accepted);
    EXPECT_NE(error.find(GetParam().says), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VideoOptionErrors,
    ::testing::Values(BadUsage{{"--fps", "60"}, "-o OUT.mp4"},
                      BadUsage{{"-o", "intro.mkv"}, "*.mp4"},
                      BadUsage{{"-o", "a.mp4", "--fps", "0"}, "more than 0"},
                      BadUsage{{"-o", "a.mp4", "--fps", "-30"}, "more than 0"},
                      BadUsage{{"-o", "a.mp4", "--fps", "fast"}, "frames per second"},
                      BadUsage{{"-o", "a.mp4", "--fps", "30.0001"}, "three decimals"},
                      BadUsage{{"-o", "a.mp4", "--crf", "52"}, "0 (lossless) to 51"},
                      BadUsage{{"-o", "a.mp4", "--to", "68"}, "past the end of the song"},
                      BadUsage{{"-o", "a.mp4", "--from", "-1"}, "before the start"},
                      BadUsage{{"-o", "a.mp4", "--from", "70"}, "is empty"},
                      BadUsage{{"-o", "a.mp4", "--from", "5", "--to", "5"}, "is empty"},
                      BadUsage{{"-o", "a.mp4", "--fps", "10", "--to", "0.04"}, "one frame"},
                      BadUsage{{"-o", "a.mp4", "--frames", "3"}, "unknown argument"},
                      BadUsage{{"-o", "a.mp4", "--to"}, "needs a value"}));

TEST(ProgressText, SaysTheFrameTheRateAndTheTimeLeft) {
    EXPECT_EQ(progress_text(0, 4056, 0.0), "frame 0 of 4056 (0%)");
    EXPECT_EQ(progress_text(120, 4056, 40.0), "frame 120 of 4056 (2%), 3.0 frames/s, 21:52 left");
    EXPECT_EQ(progress_text(10, 40000, 1.0), "frame 10 of 40000 (0%), 10.0 frames/s, 1:06:39 left");
    EXPECT_EQ(progress_text(5, 5, 2.0), "frame 5 of 5 (100%), 2.5 frames/s, 0:00 left");
}

} // namespace
