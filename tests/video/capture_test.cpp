// intro-render video end to end: a short capture checked with ffprobe and against the frame
// tool, the errors that stop it before or during the capture, and Ctrl-C.
#include "frame_renderer.h"
#include "media_probe.h"
#include "subcommands.h"
#include "video_plan.h"

#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

bool have_ffmpeg() {
    return std::system("ffmpeg -version >/dev/null 2>&1 && ffprobe -version >/dev/null 2>&1") == 0;
}

#define REQUIRE_FFMPEG()                                                                           \
    if (!have_ffmpeg()) {                                                                          \
        GTEST_SKIP() << "ffmpeg and ffprobe are not installed (scripts/setup-debian.sh)";          \
    }

// Half a second at 10 frames a second, inside the shot that starts at 10 s.
constexpr double from_seconds = 11.0;
constexpr int frame_count = 5;

TEST(VideoCapture, AShortRangeHasItsFramesItsSoundAndTheFrameToolsPictures) {
    REQUIRE_FFMPEG();
    ScratchFolder folder;
    const fs::path video = folder / "short.mp4";
    ASSERT_EQ(run_command(run_video, {"-o", video.string(), "--fps", "10", "--from", "11", "--to",
                                      "11.5", "--crf", "18"}),
              0);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"short.mp4"}) << "temporary files left";

    auto picture = probe_stream(video, "v:0");
    EXPECT_EQ(picture["codec_name"], "h264");
    EXPECT_EQ(picture["pix_fmt"], "yuv420p");
    EXPECT_EQ(picture["width"], "640");
    EXPECT_EQ(picture["height"], "420");
    EXPECT_EQ(picture["nb_read_frames"], std::to_string(frame_count));
    auto sound = probe_stream(video, "a:0");
    EXPECT_EQ(sound["codec_name"], "aac");
    EXPECT_EQ(sound["sample_rate"], "44100");
    EXPECT_EQ(sound["channels"], "2");
    ASSERT_FALSE(sound["duration"].empty());
    EXPECT_NEAR(std::stod(sound["duration"]), 0.5, 0.1 / 2) << "within half a frame at 10 fps";

    // Frame 3 of the video is the frame tool's picture at the same play position, up to the
    // codec's error; a flat picture would make that comparison say nothing.
    const int index = 3;
    VideoPlan plan;
    plan.millifps = 10'000;
    plan.from = from_seconds;
    const fs::path still = folder / "still.png";
    ASSERT_EQ(run_command(run_frame, {"--position", std::to_string(plan.frame_position(index)),
                                      "-o", still.string()}),
              0);
    const RgbPicture expected = read_png_rgb(still);
    const std::vector<std::uint8_t> decoded =
        decode_frame(video, index, frame_renderer::width, frame_renderer::height);
    ASSERT_EQ(decoded.size(), expected.rgb.size());
    double difference = 0.0;
    double mean = 0.0;
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        difference += std::abs(int{decoded[i]} - int{expected.rgb[i]});
        mean += expected.rgb[i];
    }
    difference /= static_cast<double>(decoded.size());
    mean /= static_cast<double>(decoded.size());
    double spread = 0.0;
    for (const std::uint8_t value : expected.rgb) {
        spread += std::fabs(value - mean);
    }
    spread /= static_cast<double>(expected.rgb.size());
    EXPECT_LT(difference, 4.0) << "mean absolute difference per channel";
    EXPECT_GT(spread, 5.0 * difference) << "the picture should vary far more than the error";

    // Frames come upright: the difference to the picture upside down is far larger.
    double flipped = 0.0;
    const std::size_t row = std::size_t{frame_renderer::width} * 3;
    for (std::size_t y = 0; y < std::size_t{frame_renderer::height}; ++y) {
        for (std::size_t x = 0; x < row; ++x) {
            flipped += std::abs(int{decoded[y * row + x]} -
                                int{expected.rgb[(frame_renderer::height - 1 - y) * row + x]});
        }
    }
    EXPECT_GT(flipped / static_cast<double>(decoded.size()), 3.0 * difference);
}

struct EarlyFailure {
    const char* name;
    std::vector<std::string> args; // "OUT" stands for a file in the scratch folder
    bool without_ffmpeg;
    int exit_code;
    const char* says;
};

class VideoErrors : public ::testing::TestWithParam<EarlyFailure> {};

TEST_P(VideoErrors, StopBeforeTheCaptureWithAMessageAndNoFile) {
    ScratchFolder folder;
    const fs::path empty_path = folder / "bin";
    fs::create_directories(empty_path);
    std::vector<std::string> args = GetParam().args;
    for (std::string& arg : args) {
        if (arg == "OUT") {
            arg = (folder / "out.mp4").string();
        }
    }
    std::optional<ScopedEnvironment> path;
    if (GetParam().without_ffmpeg) {
        path.emplace("PATH", empty_path.string());
    }
    ::testing::internal::CaptureStderr();
    const int code = run_command(run_video, args);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, GetParam().exit_code);
    EXPECT_THAT(said, HasSubstr(GetParam().says));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"bin"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VideoErrors,
    ::testing::Values(
        EarlyFailure{"NoFfmpeg", {"-o", "OUT", "--to", "1"}, true, 1, "apt-get install ffmpeg"},
        EarlyFailure{"UnwritablePath",
                     {"-o", "/nonexistent-folder/out.mp4", "--to", "1"},
                     false,
                     1,
                     "cannot write '/nonexistent-folder/out.mp4'"},
        EarlyFailure{"PastTheSong",
                     {"-o", "OUT", "--from", "60", "--to", "70"},
                     false,
                     2,
                     "past the end of the song, which ends at 67.599 s"},
        EarlyFailure{"ZeroFps", {"-o", "OUT", "--fps", "0"}, false, 2, "more than 0"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(VideoCapture, AFailingFfmpegIsReportedWithItsLastLinesAndLeavesNoFile) {
    ScratchFolder folder;
    const fs::path bin = folder / "bin";
    fs::create_directories(bin);
    {
        std::ofstream fake(bin / "ffmpeg");
        fake << "#!/bin/sh\n"
                "echo 'an early line' >&2\n"
                "echo 'Unknown encoder libx264' >&2\n"
                "exit 1\n";
    }
    fs::permissions(bin / "ffmpeg", fs::perms::owner_all);
    ScopedEnvironment path("PATH", bin.string() + ":/usr/bin:/bin");
    ::testing::internal::CaptureStderr();
    const int code =
        run_command(run_video, {"-o", (folder / "out.mp4").string(), "--fps", "10", "--to", "0.3"});
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 1);
    EXPECT_THAT(said, HasSubstr("ffmpeg failed (exit status 1)"));
    EXPECT_THAT(said, HasSubstr("Unknown encoder libx264"));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"bin"});
}

// Runs the real program, interrupts it as Ctrl-C would once the capture has begun, and checks
// that it stops promptly and leaves nothing behind.
TEST(VideoCapture, CtrlCStopsTheCaptureAndRemovesThePartialFile) {
    REQUIRE_FFMPEG();
    ScratchFolder folder;
    const fs::path log = folder / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> args = {INTRO_RENDER_PROGRAM,
                                     "video",
                                     "-o",
                                     (folder / "long.mp4").string(),
                                     "--fps",
                                     "10",
                                     "--to",
                                     "30"};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    ASSERT_EQ(posix_spawn(&pid, INTRO_RENDER_PROGRAM, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);

    const auto read_log = [&] {
        std::ifstream in(log);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (read_log().find("Capturing") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_THAT(read_log(), HasSubstr("Capturing"));
    std::this_thread::sleep_for(std::chrono::seconds(2)); // a frame or two into the capture
    ::kill(pid, SIGINT);

    int status = 0;
    const auto stop_deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    pid_t ended = 0;
    while ((ended = ::waitpid(pid, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < stop_deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (ended == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "intro-render did not stop after SIGINT";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    EXPECT_THAT(read_log(), HasSubstr("stopped; "));
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"stderr.txt"});
}

} // namespace
