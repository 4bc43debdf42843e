#include "patch_check.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::optional<std::string> check(std::vector<std::uint8_t> commands,
                                 std::vector<std::uint8_t> values, int voices = 1) {
    const std::vector<std::uint16_t> delay_times(17, 5);
    const Song song{commands, values, {}, {}, delay_times, voices};
    return check_patch(song);
}

} // namespace

TEST(PatchCheck, TheBuiltInSongPasses) {
    EXPECT_EQ(check_patch(the_song), std::nullopt);
}

TEST(PatchCheck, RefusesEachKindOfMalformedPatchNamingVoiceAndCommand) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> commands;
        std::vector<std::uint8_t> values;
        int voices;
        const char* message;
    };
    // 64 commands: note values each consumed by a send.
    std::vector<std::uint8_t> too_many;
    std::vector<std::uint8_t> long_values;
    for (int i = 0; i < 32; ++i) {
        too_many.push_back(16); // load note
        too_many.push_back(14); // consuming send
        long_values.insert(long_values.end(), {64, 8, 0});
    }
    too_many.push_back(0);
    const Case cases[] = {
        {"opcode 11", {2, 22, 0}, {0, 0, 0, 0, 0}, 1, "voice 0, command 1: opcode 11 is above 10"},
        {"value stream too short",
         {2, 0},
         {0, 0, 0, 0},
         1,
         "voice 0, command 0: the value stream is too short"},
        {"more than 63 commands", too_many, long_values, 1,
         "voice 0, command 63: more than 63 commands"},
        {"stack underflow",
         {16, 0, 6, 0},
         {},
         2,
         "voice 1, command 0: the signal stack would underflow"},
        {"stack over 8",
         {16, 16, 16, 16, 4, 0},
         {0, 0, 0, 0, 0, 0, 0x40},
         1,
         "voice 0, command 4: the signal stack would exceed 8 entries (4 + 5)"},
        {"more than 17 delay lines",
         {16, 8, 8, 0},
         {0, 0, 0, 0, 0, 17, 0, 0, 0, 0, 0, 17},
         1,
         "voice 0, command 2: the delays need 18 lines"},
        {"delay_times index past the table",
         {16, 8, 0},
         {0, 0, 0, 0, 16, 3},
         1,
         "voice 0, command 1: delay_times index 16 + 2 taps is past the table"},
        {"local send block above 63",
         {16, 14, 0},
         {64, 0x08, 0x04},
         1,
         "voice 0, command 1: local send block 64 is above 63"},
        {"op_in channel above 6",
         {18, 0},
         {7},
         1,
         "voice 0, command 0: op_in channel 7 is above 6"},
        {"oscillator with no waveform",
         {4, 0},
         {0, 0, 0, 0, 0, 0, 0x03},
         1,
         "voice 0, command 0: oscillator flags 0x03 select no waveform"},
        {"oscillator with both waveforms",
         {4, 0},
         {0, 0, 0, 0, 0, 0, 0x44},
         1,
         "voice 0, command 0: oscillator flags 0x44 select more than one waveform"},
        {"command stream without its end byte",
         {16, 14},
         {64, 8, 0},
         1,
         "voice 0, command 2: the command stream ends"},
        {"unbalanced frame", {16, 0}, {}, 1, "the frame leaves 1 values on the signal stack"},
    };
    for (const Case& c : cases) {
        const auto fault = check(c.commands, c.values, c.voices);
        ASSERT_TRUE(fault.has_value()) << c.what;
        EXPECT_NE(fault->find(c.message), std::string::npos) << c.what << ": " << *fault;
    }
}

TEST(PatchCheck, AcceptsTheLimitsThemselves) {
    // Eight entries exactly: an envelope (peak 4) on top of four values.
    EXPECT_EQ(check({16, 16, 16, 16, 2, 6, 6, 6, 6, 14, 0}, {0, 0, 0, 0, 0, 128, 8, 0}),
              std::nullopt);
    // All 17 lines, up to the last table entry.
    EXPECT_EQ(check({16, 8, 8, 14, 0}, {0, 0, 0, 0, 0, 16, 0, 0, 0, 0, 8, 17, 128, 8, 0}),
              std::nullopt);
}
