#include "patch_rig.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

// One delay unit: pregain, dry, feedback, damp, delay_index, taps_byte.
PatchRig delay_rig(std::uint8_t command, std::vector<std::uint8_t> params_and_word,
                   std::vector<std::uint16_t> delay_times) {
    return PatchRig({command, 0}, std::move(params_and_word), std::move(delay_times));
}

int lines_written(PatchRig& rig) {
    int count = 0;
    for (const DelayLine& line : rig.state->delay_lines) {
        count += line.ring[0] != 0.0f;
    }
    return count;
}

} // namespace

TEST(Delay, OneTapEchoesEveryDelayLengthScaledByFeedback) {
    // pregain 1, dry 0, feedback 0.5, no damping, 5 frames.
    PatchRig rig = delay_rig(mono(kDelay), {128, 0, 64, 0, 0, 1}, {5});
    const DelayLine& line = rig.state->delay_lines[0];
    for (int t = 0; t < 40; ++t) {
        rig.frame({t == 0 ? 1.0 : 0.0});
        // With no damping the damped read is the raw read r that the output sums.
        const double expected = t > 0 && t % 5 == 0 ? std::pow(0.5, t / 5 - 1) : 0.0;
        ASSERT_EQ(line.damp_state, expected) << t;
    }
}

TEST(Delay, DcBlockerPassesStepsAndImpulsesAsAHighPass) {
    // dry 1, pregain 0: only the DC blocker acts.
    PatchRig step = delay_rig(mono(kDelay), {0, 128, 0, 0, 0, 1}, {100});
    PatchRig impulse = delay_rig(mono(kDelay), {0, 128, 0, 0, 0, 1}, {100});
    EXPECT_EQ(step.frame({1.0}), 1.0);
    EXPECT_EQ(step.frame({1.0}), 0.99609375);
    EXPECT_EQ(step.frame({1.0}), 0.99609375 * 0.99609375);
    EXPECT_EQ(impulse.frame({1.0}), 1.0);
    EXPECT_EQ(impulse.frame({0.0}), -0.00390625);
    double previous = -0.00390625;
    for (int k = 0; k < 20; ++k) {
        const double y = impulse.frame({0.0});
        ASSERT_NEAR(y / previous, 0.99609375, 1e-6);
        previous = y;
    }
}

TEST(Delay, DecayingStatesSettleWithoutEverBecomingSubnormal) {
    PatchRig rig = delay_rig(mono(kDelay), {128, 128, 120, 100, 0, 1}, {3});
    rig.frame({1.0});
    const DelayLine& line = rig.state->delay_lines[0];
    double last = 1.0;
    for (int k = 0; k < 60'000; ++k) {
        last = rig.frame({0.0});
        ASSERT_NE(std::fpclassify(line.damp_state), FP_SUBNORMAL) << k;
        ASSERT_NE(std::fpclassify(line.dc_state[1]), FP_SUBNORMAL) << k;
        ASSERT_NE(std::fpclassify(last), FP_SUBNORMAL) << k;
    }
    // Both recursions are snapped to multiples of 2^-53 (2^-54 below zero) and come to rest at a
    // tiny constant rather than at zero.
    EXPECT_LT(std::fabs(line.damp_state), 1e-12f);
    EXPECT_EQ(std::fmod(static_cast<double>(line.damp_state), 0x1p-54), 0.0);
    EXPECT_LT(std::fabs(last), 1e-12);
    EXPECT_EQ(std::fmod(last, 0x1p-54), 0.0);
}

TEST(Delay, TapsByteGivesTapsPerChannel) {
    struct Case {
        std::uint8_t taps_byte;
        int taps;
    };
    for (const Case c :
         {Case{1, 1}, Case{2, 1}, Case{3, 2}, Case{15, 8}, Case{16, 8}, Case{0, 1}, Case{200, 1}}) {
        PatchRig mono_rig = delay_rig(mono(kDelay), {128, 0, 0, 0, 0, c.taps_byte},
                                      std::vector<std::uint16_t>(17, 7));
        mono_rig.frame({1.0});
        EXPECT_EQ(lines_written(mono_rig), c.taps) << +c.taps_byte;
        if (2 * c.taps <= kDelayLineCount) {
            PatchRig stereo_rig = delay_rig(stereo(kDelay), {128, 0, 0, 0, 0, c.taps_byte},
                                            std::vector<std::uint16_t>(17, 7));
            stereo_rig.frame({1.0, 1.0});
            EXPECT_EQ(lines_written(stereo_rig), 2 * c.taps) << +c.taps_byte;
        }
    }
}

TEST(Delay, StereoRunsRightThenLeftOnConsecutiveLinesAndTableEntries) {
    std::vector<std::uint16_t> times(17);
    for (int i = 0; i < 17; ++i) {
        times[i] = static_cast<std::uint16_t>(10 + i);
    }
    // delay_index 1, 8 taps per channel: right = entries 1..8 on lines 0..7, left = 9..16 on 8..15.
    PatchRig rig = delay_rig(stereo(kDelay), {128, 128, 0, 0, 1, 15}, times);
    rig.frame({2.0, 3.0}); // right below, left on top
    for (int d = 0; d < 17; ++d) {
        const float expected = d < 8 ? 2.0f : d < 16 ? 3.0f : 0.0f;
        ASSERT_EQ(rig.state->delay_lines[d].ring[0], expected) << d;
    }
    // Each line reads back after its own table entry.
    for (int t = 1; t <= 30; ++t) {
        rig.frame({0.0, 0.0});
        for (int d = 0; d < 16; ++d) {
            const bool echo = t == 10 + 1 + d;
            ASSERT_EQ(rig.state->delay_lines[d].damp_state != 0.0f, echo)
                << "line " << d << " frame " << t;
        }
    }
    // The channels' DC blockers sit in the lines of their last taps.
    EXPECT_NE(rig.state->delay_lines[7].dc_state[1], 0.0f);
    EXPECT_NE(rig.state->delay_lines[15].dc_state[1], 0.0f);
    EXPECT_EQ(rig.state->delay_lines[0].dc_state[1], 0.0f);
}

TEST(Delay, TwoDelayUnitsTakeConsecutiveLinesEveryFrame) {
    // The first unit passes its input on dry, so the second sees the impulse at once.
    PatchRig rig({mono(kDelay), mono(kDelay), 0}, {128, 128, 0, 0, 0, 3, 128, 0, 0, 0, 2, 1},
                 {4, 4, 9});
    for (int t = 0; t < 10; ++t) {
        rig.frame({t == 0 ? 1.0 : 0.0});
        // Line 2 belongs to the second unit at every frame: its echo comes after 9 frames.
        ASSERT_EQ(rig.state->delay_lines[2].damp_state != 0.0f, t == 9) << t;
        ASSERT_EQ(rig.state->delay_lines[0].damp_state != 0.0f, t == 4) << t;
    }
}

TEST(Delay, LengthZeroDelaysByAWholeRing) {
    PatchRig rig = delay_rig(mono(kDelay), {128, 0, 0, 0, 0, 1}, {0});
    rig.frame({1.0});
    const DelayLine& line = rig.state->delay_lines[0];
    for (int t = 1; t < 65'536; ++t) {
        rig.frame({0.0});
    }
    EXPECT_EQ(line.damp_state, 0.0f);
    rig.frame({0.0});
    EXPECT_EQ(line.damp_state, 1.0f);
}
