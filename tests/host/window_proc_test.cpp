#include "host/sound.h"
#include "host/window_context.h"
#include "host_test_support.h"

#include <cctype>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::ElementsAre;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

namespace {

struct ProcCase {
    const char* what;
    std::uint32_t message;
    std::uintptr_t wparam;
    std::intptr_t lparam;
    std::vector<std::string> calls; // what the procedure does, in order
};

class WindowProcTest : public HostTest, public testing::WithParamInterface<ProcCase> {};

TEST_P(WindowProcTest, FollowsTheRules) {
    const ProcCase& c = GetParam();
    CaptureStdout();
    window_proc(nullptr, c.message, c.wparam, c.lparam);
    GetCapturedStdout();
    std::vector<std::string> calls;
    for (const auto& call : fake::state().calls) {
        // Seeks show as their device calls; keep only the first of them.
        if (call.rfind("sys_audio_reset", 0) != 0 && call.rfind("sys_audio_write", 0) != 0) {
            calls.push_back(call);
        }
    }
    EXPECT_EQ(calls, c.calls) << c.what;
}

const std::string kPostQuit = "sys_post_quit_message(0)";
const std::string kSeek = "sys_audio_position";

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
    Messages, WindowProcTest,
    testing::Values(
        ProcCase{"close is swallowed", kWmClose, 0, 0, {kPostQuit}},
        ProcCase{"destroy quits", kWmDestroy, 0, 0, {kPostQuit}},
        ProcCase{"escape key quits", kWmKeyDown, 0x1B, 0, {kPostQuit}},
        ProcCase{"escape character quits", kWmChar, 0x1B, 0, {kPostQuit}},
        ProcCase{"screen saver suppressed", kWmSysCommand, 0xF140, 0, {}},
        ProcCase{"monitor power suppressed", kWmSysCommand, 0xF170, 0, {}},
        ProcCase{"extra low bits are not suppressed",
                 kWmSysCommand,
                 0xF141,
                 0,
                 {"sys_default_window_proc(0x112, 0xF141)"}},
        ProcCase{"size sets the viewport",
                 kWmSize,
                 0,
                 (420 << 16) | 640,
                 {"glViewport(0, 0, 640, 420)", "sys_default_window_proc(0x5, 0x0)"}},
        ProcCase{"minimised gives a zero viewport",
                 kWmSize,
                 1,
                 0,
                 {"glViewport(0, 0, 0, 0)", "sys_default_window_proc(0x5, 0x1)"}},
        ProcCase{"left arrow seeks back",
                 kWmKeyDown,
                 0x25,
                 0,
                 {kSeek, "sys_default_window_proc(0x100, 0x25)"}},
        ProcCase{"right arrow seeks forward",
                 kWmKeyDown,
                 0x27,
                 0,
                 {kSeek, "sys_default_window_proc(0x100, 0x27)"}},
        ProcCase{
            "percent seeks back", kWmChar, '%', 0, {kSeek, "sys_default_window_proc(0x102, 0x25)"}},
        ProcCase{"apostrophe seeks forward",
                 kWmChar,
                 '\'',
                 0,
                 {kSeek, "sys_default_window_proc(0x102, 0x27)"}},
        ProcCase{"other keys go to the default",
                 kWmKeyDown,
                 0x41,
                 0,
                 {"sys_default_window_proc(0x100, 0x41)"}}),
    [](const testing::TestParamInfo<ProcCase>& param) { return test_name(param.param.what); });

TEST_F(HostTest, ArrowAndCharacterSeekTheSameWay) {
    CaptureStdout();
    window_proc(nullptr, kWmChar, '\'', 0);
    window_proc(nullptr, kWmKeyDown, kVkRight, 0);
    window_proc(nullptr, kWmKeyDown, kVkLeft, 0);
    EXPECT_THAT(lines_of(GetCapturedStdout()),
                ElementsAre("last offset 0", "last offset 88200", "last offset 176400"));
    EXPECT_EQ(seek_offset, 88'200);
}

TEST_F(HostTest, PumpDoesNothingBeforeCreation) {
    fake::state().messages.push_back({nullptr, kWmClose, 0, 0, 0, 0, 0});
    program_window.swap_and_pump();
    EXPECT_TRUE(fake::state().calls.empty());
    EXPECT_EQ(fake::state().messages.size(), 1u);
}

TEST_F(HostTest, PumpSwapsThenDrainsUntilTheQuitMessage) {
    create_window_and_table();
    auto& messages = fake::state().messages;
    messages.push_back({nullptr, kWmClose, 0, 0, 0, 0, 0});
    messages.push_back({nullptr, kWmSize, 0, (200 << 16) | 300, 0, 0, 0});
    program_window.swap_and_pump();
    EXPECT_THAT(fake::state().calls,
                ElementsAre("sys_swap_buffers", kPostQuit, "glViewport(0, 0, 300, 200)",
                            "sys_default_window_proc(0x5, 0x0)"));
    EXPECT_EQ(program_window.msg.message, kWmQuit);

    // The quit message was taken: the next frame's drain goes on normally.
    fake::state().calls.clear();
    messages.push_back({nullptr, kWmKeyDown, 0x41, 0, 0, 0, 0});
    program_window.swap_and_pump();
    EXPECT_THAT(fake::state().calls,
                ElementsAre("sys_swap_buffers", "sys_default_window_proc(0x100, 0x41)"));
}

TEST_F(HostTest, FailedCreationReleasesShowsTheBoxAndKeepsNoHandles) {
    fake::state().window_init_result = 0;
    WindowContext context(pixel_format);
    EXPECT_THAT(fake::state().calls,
                ElementsAre("sys_window_init(depth 32, alpha 8)", "sys_window_deinit",
                            "sys_message_box(window_init()!, error)"));
    EXPECT_TRUE(context.initialized);
    EXPECT_FALSE(context.created);
    EXPECT_EQ(context.handles.glrc, nullptr);
    EXPECT_EQ(context.handles.hwnd, nullptr);
}

} // namespace
