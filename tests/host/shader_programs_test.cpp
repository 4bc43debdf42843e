#include "host/gl_procs.h"
#include "host/shader_programs.h"
#include "host_test_support.h"

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace fs = std::filesystem;

namespace {

class ShaderFileTest : public HostTest {
  protected:
    void SetUp() override {
        HostTest::SetUp();
        create_window_and_table();
        dir_ = fs::temp_directory_path() /
               ("intro_shader_test_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& bytes) {
        const fs::path path = dir_ / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }

    struct Build {
        bool ok;
        std::string out;
        std::string err;
    };
    Build build(const std::string& path) {
        CaptureStdout();
        CaptureStderr();
        const bool ok = build_program(path.c_str());
        return {ok, GetCapturedStdout(), GetCapturedStderr()};
    }

    fs::path dir_;
};

TEST_F(ShaderFileTest, GoodFileBuildsAndBecomesCurrent) {
    const auto path = write("good.glsl", "void main() {}");
    const Build b = build(path);
    EXPECT_TRUE(b.ok);
    EXPECT_EQ(b.out, "Loaded shader from \"" + path + "\"\n");
    EXPECT_EQ(b.err, "");
    EXPECT_EQ(fake::state().programs[1].source, "void main() {}");
    EXPECT_EQ(fake::state().current_program, 1u);
}

TEST_F(ShaderFileTest, LinkFailureReportsPathAndLogAndKeepsTheProgram) {
    fake::state().current_program = 42;
    for (const std::string& source : {std::string("broken("), std::string()}) {
        const auto path = write("bad.glsl", source);
        const Build b = build(path);
        EXPECT_FALSE(b.ok);
        EXPECT_THAT(lines_of(b.err),
                    ElementsAre("ERROR: CheckProgram: failed to link " + path + "!",
                                "0:1(1): error: syntax error, unexpected end of file"));
        EXPECT_EQ(fake::state().current_program, 42u);
        EXPECT_TRUE(fake::calls_starting_with("glUseProgram").empty());
    }
}

TEST_F(ShaderFileTest, ZeroByteEndsTheText) {
    const auto path = write("zero.glsl", std::string("void main() {}\0broken", 21));
    EXPECT_TRUE(build(path).ok);
    EXPECT_EQ(fake::state().programs[1].source, "void main() {}");
}

TEST_F(ShaderFileTest, UnusableFilesAreRefusedWithAMessageAndNoProgram) {
    const fs::path fifo = dir_ / "pipe.glsl";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const fs::path huge = dir_ / "huge.glsl";
    std::ofstream(huge).put('x');
    fs::resize_file(huge, 100u << 20); // sparse: costs no disk
    struct Case {
        std::string path;
        std::string message;
    };
    for (const Case& c : {Case{(dir_ / "missing.glsl").string(), "not found!"},
                          Case{dir_.string(), "is not a regular file"},
                          Case{fifo.string(), "is not a regular file"},
                          Case{huge.string(), "is larger than 4194304 bytes"}}) {
        fake::state().calls.clear();
        const Build b = build(c.path);
        EXPECT_FALSE(b.ok) << c.path;
        EXPECT_THAT(b.out, HasSubstr("Input shader file at \"" + c.path + "\""));
        EXPECT_THAT(b.out, HasSubstr(c.message));
        EXPECT_EQ(b.err, "") << c.path;
        EXPECT_TRUE(fake::calls_starting_with("glCreateShaderProgramv").empty()) << c.path;
    }
}

TEST_F(ShaderFileTest, UnreadableFileSaysWhy) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "root reads any file";
    }
    const auto path = write("locked.glsl", "void main() {}");
    fs::permissions(path, fs::perms::none);
    const Build b = build(path);
    EXPECT_FALSE(b.ok);
    EXPECT_THAT(b.out, HasSubstr("could not be opened: Permission denied"));
}

TEST_F(ShaderFileTest, EveryAttachedShaderIsCheckedAfterAFailure) {
    const auto path = write("two.glsl", "void main() {}");
    fake::state().attach_on_create = {7, 8, 9};
    fake::state().shaders[7] = {false, "first log"};
    fake::state().shaders[8] = {false, "second log"};
    fake::state().shaders[9] = {true, ""};
    const Build b = build(path);
    EXPECT_FALSE(b.ok);
    EXPECT_THAT(lines_of(b.err),
                ElementsAre("ERROR: CheckShader: failed to compile " + path + "!", "first log",
                            "ERROR: CheckShader: failed to compile " + path + "!", "second log"));
    EXPECT_EQ(fake::calls_starting_with("glGetShaderiv").size(), 6u);
    EXPECT_TRUE(fake::calls_starting_with("glUseProgram").empty());
}

TEST_F(HostTest, CheckShaderRefusesShaderZeroSilently) {
    create_window_and_table();
    CaptureStderr();
    EXPECT_FALSE(CheckShader(0, "x"));
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_TRUE(fake::state().calls.empty());
}

TEST_F(HostTest, TableResolvesOnceAndAMissingEntryDoesNotStopTheWalk) {
    fake::state().missing_procs = {"glGenBuffers"};
    gl_load_procs(gl_procs);
    EXPECT_EQ(fake::calls_starting_with("lookup").size(), 34u);
    EXPECT_EQ(gl_procs.entries[2].proc, nullptr);
    EXPECT_NE(gl_procs.entries[33].proc, nullptr);
    EXPECT_TRUE(gl_procs.resolved);
    gl_load_procs(gl_procs);
    EXPECT_EQ(fake::calls_starting_with("lookup").size(), 34u);
}

} // namespace
