#include "host/diagnostics.h"
#include "host_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

TEST_F(HostTest, FirstFrameAtTimeZeroChangesNoRate) {
    frame_stats(0.0f);
    EXPECT_STREQ(frame_title, "TIME: 0.00   FRAME: 1   FPS: 0.00 / inf, 1000.00");
    EXPECT_EQ(fake::state().title, frame_title);
}

TEST_F(HostTest, EqualAndBackwardTimesCountFramesButChangeNoRate) {
    frame_stats(0.5f); // step 0.5: fps 2
    frame_stats(0.5f);
    EXPECT_STREQ(frame_title, "TIME: 0.50   FRAME: 2   FPS: 1.80 / 4.00, 2.00");
    frame_stats(0.25f);
    EXPECT_EQ(frame_stats_state.last_time, 0.25f);
    EXPECT_EQ(frame_stats_state.fps, 2.0f);
    EXPECT_STREQ(frame_title, "TIME: 0.25   FRAME: 3   FPS: 1.80 / 12.00, 2.00");
}

TEST_F(HostTest, SmoothingAndMinimum) {
    frame_stats(0.1f);  // fps 10, smoothed 9
    frame_stats(0.15f); // fps 20, smoothed 18.9; the minimum stays 10
    EXPECT_NEAR(frame_stats_state.fps_smoothed, 18.9f, 1e-3f);
    EXPECT_NEAR(frame_stats_state.fps_min, 10.0f, 1e-3f);
}

TEST_F(HostTest, MinimumStaysAtItsStartWhileEveryRateIsAbove1000) {
    frame_stats(0.0005f);
    frame_stats(0.0009f);
    EXPECT_EQ(frame_stats_state.fps_min, 1000.0f);
    EXPECT_EQ(frame_stats_state.frame_count, 2);
}

TEST_F(HostTest, GlErrorsAreNamedAndEndWithValid) {
    fake::state().gl_errors = {0x0500, 0x0501, 0x0502, 0x0503, 0x0504, 0x0505, 0x0506};
    CaptureStdout();
    EXPECT_EQ(gl_check_errors("frame.cpp", 42), 0u);
    EXPECT_THAT(lines_of(GetCapturedStdout()),
                ElementsAre("frame.cpp:42\tINVALID_ENUM", "frame.cpp:42\tINVALID_VALUE",
                            "frame.cpp:42\tINVALID_OPERATION", "frame.cpp:42\t", "frame.cpp:42\t",
                            "frame.cpp:42\tOUT_OF_MEMORY",
                            "frame.cpp:42\tINVALID_FRAMEBUFFER_OPERATION",
                            "frame.cpp:42\t(gl valid)"));
    CaptureStdout();
    gl_check_errors("x.cpp", 1);
    EXPECT_EQ(GetCapturedStdout(), "x.cpp:1\t(gl valid)\n");
}

} // namespace
