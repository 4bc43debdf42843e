#include "host/diagnostics.h"
#include "host/intro_main.h"
#include "host/platform/sys.h"
#include "host_test_support.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

struct ProgramRun {
    int exit_code = -1;
    std::string out;
    std::string err;
};

ProgramRun run_program() {
    ProgramRun run;
    CaptureStdout();
    CaptureStderr();
    try {
        intro_main();
    } catch (const fake::ProcessExit& exit) {
        run.exit_code = exit.code;
    }
    run.out = GetCapturedStdout();
    run.err = GetCapturedStderr();
    return run;
}

// The calls that mark the steps of start-up and shutdown, in order.
std::vector<std::string> milestones() {
    const std::vector<std::string> marks = {"sys_console_create",
                                            "sys_window_init(depth 32, alpha 8)",
                                            "sys_thread_start",
                                            "glCreateShaderProgramv(0x8B30, 1)",
                                            "glUseProgram(1)",
                                            "sys_swap_buffers",
                                            "sys_key_down_or_pressed(0x1B)",
                                            "sys_window_deinit",
                                            "sys_console_release",
                                            "sys_restore_display_mode",
                                            "sys_show_cursor(1)",
                                            "sys_exit_process(0)",
                                            "sys_exit_process(1)",
                                            "sys_message_box(window_init()!, error)"};
    std::vector<std::string> found;
    for (const auto& call : fake::state().calls) {
        if (std::find(marks.begin(), marks.end(), call) != marks.end()) {
            found.push_back(call);
        }
    }
    return found;
}

bool any_gl_call() {
    return std::any_of(fake::state().calls.begin(), fake::state().calls.end(),
                       [](const std::string& call) {
                           return call.rfind("gl", 0) == 0 || call.rfind("lookup", 0) == 0;
                       });
}

TEST_F(HostTest, RunsStartupFramesUntilEscapeThenShutsDownInOrder) {
    fake::state().file_times["../shader.glsl"] = {kErrorNoEntry, 0};
    fake::state().escape_after_queries = 1; // two frames
    const ProgramRun run = run_program();
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_THAT(milestones(),
                ElementsAre("sys_console_release", "sys_console_create",
                            "sys_window_init(depth 32, alpha 8)", "sys_thread_start",
                            "glCreateShaderProgramv(0x8B30, 1)", "glUseProgram(1)",
                            "sys_swap_buffers", "sys_key_down_or_pressed(0x1B)", "sys_swap_buffers",
                            "sys_key_down_or_pressed(0x1B)", "sys_window_deinit",
                            "sys_console_release", "sys_restore_display_mode", "sys_show_cursor(1)",
                            "sys_exit_process(0)"));
    EXPECT_THAT(lines_of(run.out),
                ElementsAre("Test output", "Test output to stdout", "dbg_init done!",
                            "File ../shader.glsl not found.", "File ../shader.glsl not found.",
                            "dbg_deinit done!"));
    EXPECT_THAT(lines_of(run.err), ElementsAre("Test output to stderr",
                                               "Problem getting information: No such file or "
                                               "directory",
                                               "Problem getting information: No such file or "
                                               "directory"));
    // The console is asked for 1024 lines, the embedded program links and is made current.
    EXPECT_EQ(fake::calls_starting_with("sys_console_set_lines").front(),
              "sys_console_set_lines(1024)");
    EXPECT_EQ(fake::state().current_program, 1u);
    EXPECT_EQ(frame_stats_state.frame_count, 2);
}

TEST_F(HostTest, EscapeDuringAFrameFinishesItsTitleAndSwapFirst) {
    fake::state().file_times["../shader.glsl"] = {kErrorNoEntry, 0};
    fake::state().escape_after_queries = 0;
    const ProgramRun run = run_program();
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(frame_stats_state.frame_count, 1);
    EXPECT_THAT(fake::state().title, HasSubstr("FRAME: 1"));
}

TEST_F(HostTest, FailedWindowStopsWithoutGlOrSound) {
    fake::state().window_init_result = 0;
    const ProgramRun run = run_program();
    EXPECT_NE(run.exit_code, 0);
    EXPECT_THAT(milestones(),
                ElementsAre("sys_console_release", "sys_console_create",
                            "sys_window_init(depth 32, alpha 8)", "sys_window_deinit",
                            "sys_message_box(window_init()!, error)", "sys_exit_process(1)"));
    EXPECT_FALSE(any_gl_call());
    EXPECT_THAT(run.out, testing::Not(HasSubstr("dbg_init done!")));
}

TEST_F(HostTest, MissingEntryPointStopsStartupNamingIt) {
    for (const char* name : {"glUniform2i", "glGetProgramiv", "glCreateShaderProgramv"}) {
        reset_host();
        fake::state().missing_procs = {name};
        const ProgramRun run = run_program();
        EXPECT_EQ(run.exit_code, 1) << name;
        EXPECT_THAT(run.err, HasSubstr(name));
        EXPECT_THAT(run.err, HasSubstr("OpenGL 4.3"));
        EXPECT_TRUE(fake::calls_starting_with("sys_thread_start").empty()) << name;
        EXPECT_TRUE(fake::calls_starting_with("glCreateShaderProgramv").empty()) << name;
        EXPECT_EQ(fake::calls_starting_with("sys_window_deinit").size(), 1u) << name;
    }
}

TEST_F(HostTest, EmbeddedLinkFailureIsReportedAndFramesRunOn) {
    fake::state().file_times["../shader.glsl"] = {kErrorNoEntry, 0};
    fake::state().every_link_fails = true;
    fake::state().escape_after_queries = 1;
    const ProgramRun run = run_program();
    EXPECT_EQ(run.exit_code, 0);
    const auto err = lines_of(run.err);
    const auto failed = std::find(err.begin(), err.end(), "ERROR: CheckProgram: failed to link!");
    ASSERT_NE(failed, err.end());
    ASSERT_NE(failed + 1, err.end());
    EXPECT_EQ(*(failed + 1), "0:1(1): error: syntax error, unexpected end of file");
    // Made current all the same; the GL refuses it and the passes draw without a program.
    EXPECT_EQ(fake::calls_starting_with("glUseProgram").size(), 1u);
    EXPECT_EQ(fake::state().current_program, 0u);
    EXPECT_EQ(frame_stats_state.frame_count, 2);
    EXPECT_EQ(fake::calls_starting_with("glRects").size(), 6u);
}

} // namespace
