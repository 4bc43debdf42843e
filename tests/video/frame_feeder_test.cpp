// Frames reach the child process upright and in order through the writer thread, and a child
// that goes away is reported, with its exit status and last words, instead of hanging.
#include "ffmpeg_process.h"
#include "frame_feeder.h"
#include "media_probe.h"

#include <csignal>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>

namespace {

constexpr int width = 4;
constexpr int height = 3;
constexpr std::size_t frame_bytes = width * height * 4;

class FrameFeederTest : public ::testing::Test {
  protected:
    // Writes to a pipe whose reader has gone must fail, not end the test process.
    void SetUp() override { previous_ = std::signal(SIGPIPE, SIG_IGN); }
    void TearDown() override { std::signal(SIGPIPE, previous_); }

  private:
    void (*previous_)(int) = nullptr;
};

TEST_F(FrameFeederTest, WritesEveryFrameTopRowFirstInOrder) {
    ScratchFolder folder;
    const auto received = folder / "received.raw";
    FfmpegProcess child;
    std::string error;
    ASSERT_TRUE(child.start("/bin/sh", {"-c", "cat > '" + received.string() + "'"}, error))
        << error;
    constexpr int frames = 7; // more than the feeder's buffers, so they are reused
    {
        FrameFeeder feeder(child, width, height);
        for (int n = 0; n < frames; ++n) {
            auto buffer = feeder.next_buffer();
            ASSERT_EQ(buffer.size(), frame_bytes);
            // Each byte names its frame and the row it was given in (row 0 at the bottom).
            for (std::size_t i = 0; i < frame_bytes; ++i) {
                buffer[i] = static_cast<std::uint8_t>(n * 16 + static_cast<int>(i / (width * 4)));
            }
            feeder.submit();
        }
        EXPECT_TRUE(feeder.close());
    }
    ASSERT_TRUE(child.finish(error)) << error;

    std::ifstream in(received, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), frames * frame_bytes);
    for (int n = 0; n < frames; ++n) {
        for (int row = 0; row < height; ++row) {
            const std::size_t at = n * frame_bytes + static_cast<std::size_t>(row) * width * 4;
            EXPECT_EQ(bytes[at], n * 16 + (height - 1 - row)) << "frame " << n << " row " << row;
        }
    }
}

TEST_F(FrameFeederTest, AChildThatStopsReadingIsReportedWithItsStatusAndLastLines) {
    FfmpegProcess child;
    std::string error;
    ASSERT_TRUE(child.start(
        "/bin/sh", {"-c", "head -c 10 >/dev/null; echo 'cannot go on' >&2; exit 3"}, error))
        << error;
    FrameFeeder feeder(child, 640, 420); // frames far larger than a pipe holds
    int submitted = 0;
    for (; submitted < 100; ++submitted) {
        const auto buffer = feeder.next_buffer();
        if (buffer.empty()) {
            break;
        }
        feeder.submit();
    }
    EXPECT_LT(submitted, 100) << "the feeder should notice that nobody reads";
    EXPECT_FALSE(feeder.close());
    EXPECT_FALSE(child.finish(error));
    EXPECT_THAT(error, ::testing::HasSubstr("exit status 3"));
    EXPECT_THAT(error, ::testing::HasSubstr("cannot go on"));
}

TEST(FindOnPath, FindsExecutablesOnlyInThePathsFolders) {
    ScratchFolder folder;
    {
        std::ofstream(folder / "tool") << "#!/bin/sh\n";
        std::ofstream(folder / "plain") << "not executable\n";
    }
    std::filesystem::permissions(folder / "tool", std::filesystem::perms::owner_all);
    ScopedEnvironment path("PATH", "/nonexistent:" + folder.path().string());
    EXPECT_EQ(find_on_path("tool"), (folder / "tool").string());
    EXPECT_EQ(find_on_path("plain"), "");
    EXPECT_EQ(find_on_path("absent"), "");
}

} // namespace
