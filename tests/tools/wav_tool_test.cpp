// intro-render wav, run as a user runs it.
#include "render_song.h"
#include "sound_buffer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

int run(const std::string& arguments) {
    const std::string command = std::string(INTRO_RENDER) + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::uint32_t u32(const std::vector<char>& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
std::uint16_t u16(const std::vector<char>& b, std::size_t at) {
    std::uint16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

class WavTool : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("intro-wav-test-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

} // namespace

TEST_F(WavTool, WritesTheSongAsFloatStereoWithTheBuffersVerySamples) {
    const fs::path path = dir_ / "song.wav";
    ASSERT_EQ(run("wav " + path.string()), 0);
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    ASSERT_EQ(bytes.size(), 58u + kSoundBufferBytes);
    EXPECT_EQ(std::string(bytes.data(), 4), "RIFF");
    EXPECT_EQ(u32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.data() + 8, 8), "WAVEfmt ");
    EXPECT_EQ(u16(bytes, 20), 3);      // IEEE float
    EXPECT_EQ(u16(bytes, 22), 2);      // channels
    EXPECT_EQ(u32(bytes, 24), 44100u); // rate
    EXPECT_EQ(u16(bytes, 34), 32);     // bits
    EXPECT_EQ(std::string(bytes.data() + 38, 4), "fact");
    EXPECT_EQ(u32(bytes, 46), kSongFrames);
    EXPECT_EQ(std::string(bytes.data() + 50, 4), "data");
    EXPECT_EQ(u32(bytes, 54), kSoundBufferBytes);

    render_song(SoundBuffer);
    EXPECT_EQ(std::memcmp(bytes.data() + 58, SoundBuffer, kSoundBufferBytes), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(WavTool, RefusesPathsItCannotWriteAndLeavesNothingBehind) {
    EXPECT_EQ(run("wav " + (dir_ / "missing" / "song.wav").string()), 1);
    EXPECT_EQ(run("wav " + dir_.string()), 1);
    EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(WavTool, ExplainsItsUsage) {
    EXPECT_EQ(run("wav --help"), 0);
    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(run("wav"), 2);
    EXPECT_EQ(run("wav a.wav b.wav"), 2);
    EXPECT_EQ(run("no-such-command"), 2);
}
