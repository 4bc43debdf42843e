#include "host/shader_programs.h"
#include "host_test_support.h"

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace fs = std::filesystem;

namespace {

// The file's content is real; its modification time is scripted through the fake.
class HotReloadTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        create_window_and_table();
        path_ = (fs::temp_directory_path() /
                 ("intro_hot_reload_" + std::to_string(::getpid()) + ".glsl"))
                    .string();
        std::ofstream(path_) << "void main() {}";
    }
    void TearDown() override { fs::remove(path_); }

    struct Poll {
        std::string out;
        std::string err;
    };
    Poll poll_at(std::int64_t mtime, int error = 0) {
        fake::state().file_times[path_] = {error, mtime};
        CaptureStdout();
        CaptureStderr();
        hotreload_poll(path_.c_str());
        return {GetCapturedStdout(), GetCapturedStderr()};
    }
    std::size_t programs_created() {
        return fake::calls_starting_with("glCreateShaderProgramv").size();
    }

    std::string path_;
};

TEST_F(HotReloadTest, FirstSightRecordsThenOnlyStrictlyNewerRebuilds) {
    EXPECT_EQ(poll_at(1000).out, "");
    EXPECT_EQ(hot_reload.last_mtime, 1000);
    EXPECT_EQ(programs_created(), 0u);

    EXPECT_EQ(poll_at(1000).out, ""); // a second save within the same second
    EXPECT_EQ(programs_created(), 0u);

    const Poll newer = poll_at(1001);
    EXPECT_EQ(newer.out, "hotreload updated\nLoaded shader from \"" + path_ + "\"\n");
    EXPECT_EQ(programs_created(), 1u);
    EXPECT_TRUE(hot_reload.last_build_ok);
    EXPECT_EQ(fake::state().current_program, 1u);

    EXPECT_EQ(poll_at(900).out, ""); // an older copy
    EXPECT_EQ(hot_reload.last_mtime, 1001);
    EXPECT_EQ(programs_created(), 1u);
}

TEST_F(HotReloadTest, FailedBuildIsNotRetriedUntilTheTimeMovesOn) {
    std::ofstream(path_) << "broken";
    poll_at(1000);
    const Poll failed = poll_at(1002);
    EXPECT_THAT(failed.err, HasSubstr("ERROR: CheckProgram: failed to link " + path_ + "!"));
    EXPECT_FALSE(hot_reload.last_build_ok);
    EXPECT_EQ(hot_reload.last_mtime, 1002);
    poll_at(1002);
    EXPECT_EQ(programs_created(), 1u);
}

TEST_F(HotReloadTest, MissingFileReportsEveryPollAndKeepsTheLastTime) {
    poll_at(1000);
    for (int frame = 0; frame < 2; ++frame) {
        const Poll missing = poll_at(0, kErrorNoEntry);
        EXPECT_EQ(missing.out, "File " + path_ + " not found.\n");
        EXPECT_EQ(missing.err, "Problem getting information: No such file or directory\n");
    }
    EXPECT_EQ(hot_reload.last_mtime, 1000);
    EXPECT_EQ(poll_at(0, kErrorInvalidArg).out, "Invalid parameter to _stat.\n");
    EXPECT_EQ(poll_at(0, 5).out, "Unexpected error in _stat.\n");
    EXPECT_EQ(programs_created(), 0u);
}

TEST_F(HotReloadTest, FileGoneBetweenStatusAndOpen) {
    poll_at(1000);
    fs::remove(path_);
    const Poll gone = poll_at(1001);
    EXPECT_EQ(gone.out, "hotreload updated\nInput shader file at \"" + path_ + "\" not found!\n");
    EXPECT_EQ(gone.err, "");
    EXPECT_FALSE(hot_reload.last_build_ok);
    EXPECT_EQ(programs_created(), 0u);
}

TEST_F(HotReloadTest, RealFileSystemTimeIsRead) {
    // Without a scripted time the fake asks the file system.
    CaptureStdout();
    EXPECT_GT(file_mtime(path_.c_str()), 1'600'000'000);
    EXPECT_EQ(GetCapturedStdout(), "");
}

} // namespace
