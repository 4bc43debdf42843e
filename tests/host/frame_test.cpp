#include "host/diagnostics.h"
#include "host/frame_inputs.h"
#include "host/frame_passes.h"
#include "host/intro_main.h"
#include "host/sound.h"
#include "host_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

const char* const kBind = "glBindTexture(0xDE1, 1)";
const char* const kFilter = "glTexParameteri(0xDE1, 0x2801, 0x2601)";
const char* const kRect = "glRects(1, 1, -1, -1)";
const char* const kCopy = "glCopyTexImage2D(0xDE1, 0, 0x8058, 0, 0, 640, 420, 0)";

std::vector<std::string> passes_at(std::int32_t position) {
    const std::string p = std::to_string(position);
    return {kBind, kFilter, "lookup glUniform2i", "glUniform2i(1, " + p + ", 0)",
            kRect, kCopy,   "lookup glUniform2i", "glUniform2i(1, " + p + ", 1)",
            kRect, kCopy,   "lookup glUniform2i", "glUniform2i(1, " + p + ", 2)",
            kRect};
}

TEST_F(HostTest, PassesSetUniformsDrawAndCopyBetween) {
    draw_frame_passes(123'456);
    EXPECT_EQ(fake::state().calls, passes_at(123'456));
}

TEST_F(HostTest, PassesStopAfterTheAskedPass) {
    const auto all = passes_at(7);
    for (int last = 0; last <= 2; ++last) {
        fake::state().calls.clear();
        draw_frame_passes(7, last);
        // Stops right after that pass's rectangle: bind and filter, then 4 calls per pass,
        // less the copy that would follow.
        const std::size_t count = 2 + 4 * static_cast<std::size_t>(last) + 3;
        EXPECT_EQ(fake::state().calls, std::vector<std::string>(all.begin(), all.begin() + count))
            << "last pass " << last;
    }
}

TEST(MouseValues, CentreCornerAndFarCorner) {
    struct Case {
        std::int32_t x, y;
        float mx, my;
    };
    for (const Case& c : {Case{325, 225, 0.0f, 0.0f}, Case{0, 0, -0.5078125f, -0.53571427f},
                          Case{965, 645, 1.0f, 1.0f}}) {
        const MouseValues m = mouse_values(c.x, c.y, false);
        EXPECT_EQ(m.x, c.mx) << c.x;
        EXPECT_EQ(m.y, c.my) << c.y;
        EXPECT_EQ(m.button, 0.0f);
    }
    EXPECT_EQ(mouse_values(0, 0, true).button, 1.0f);
}

TEST_F(HostTest, FrameSendsMousePositionPassesThenTitleAndSwap) {
    create_window_and_table();
    fake::state().file_times["../shader.glsl"] = {kErrorNoEntry, 0};
    fake::state().cursor_x = 0;
    fake::state().cursor_y = 0;
    fake::state().key_down_queries[kVkRButton] = 1;
    fake::state().audio_samples = 44'100;
    seek_offset = 88'200;
    CaptureStdout();
    CaptureStderr();
    intro_frame();
    GetCapturedStdout();
    GetCapturedStderr();

    std::vector<std::string> expected = {
        "sys_cursor_position", "sys_key_down_or_pressed(0x2)",
        "lookup glUniform3f",  "glUniform3f(0, -0.5078125, -0.53571427, 1)",
        "sys_audio_position",
    };
    const auto passes = passes_at(88'200);
    expected.insert(expected.end(), passes.begin(), passes.end());
    expected.push_back("sys_set_window_title");
    expected.push_back("sys_swap_buffers");
    EXPECT_THAT(fake::state().calls, ElementsAreArray(expected));
    EXPECT_EQ(fake::state().title, "TIME: 2.00   FRAME: 1   FPS: 0.45 / 0.50, 0.50");
    // Four by-name lookups every frame.
    EXPECT_EQ(fake::calls_starting_with("lookup").size(), 4u);
}

TEST_F(HostTest, BeforeTheDeviceMovesEveryPassGetsPositionZero) {
    create_window_and_table();
    fake::state().file_times["../shader.glsl"] = {kErrorNoEntry, 0};
    CaptureStdout();
    CaptureStderr();
    intro_frame();
    GetCapturedStdout();
    GetCapturedStderr();
    EXPECT_THAT(
        fake::calls_starting_with("glUniform2i"),
        ElementsAre("glUniform2i(1, 0, 0)", "glUniform2i(1, 0, 1)", "glUniform2i(1, 0, 2)"));
    EXPECT_EQ(frame_stats_state.last_time, 0.0f);
}

} // namespace
