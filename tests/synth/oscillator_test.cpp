#include "patch_rig.h"
#include "synth_constants.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr std::uint8_t kSine = 0x40;
constexpr std::uint8_t kGate = 0x04;

// One oscillator unit: transpose, detune, phase_offset, color, shape, gain, flags.
PatchRig oscillator_rig(std::uint8_t detune, std::uint8_t phase_offset, std::uint8_t color,
                        std::uint8_t shape, std::uint8_t flags, int note = 81) {
    PatchRig rig({mono(kOscillator), 0}, {64, detune, phase_offset, color, shape, 128, flags});
    rig.voice().note = note;
    return rig;
}

// The phase increment of a note shifted by some semitones, in the oscillator's own arithmetic.
double increment(double semitones) {
    return std::exp2(semitones * static_cast<double>(synth_constants.twelfth)) *
           static_cast<double>(synth_constants.note0_increment);
}

} // namespace

TEST(Oscillator, Note81AdvancesByA440HzIncrement) {
    PatchRig rig = oscillator_rig(64, 0, 128, 64, kSine);
    rig.frame();
    EXPECT_NEAR(rig.slot(0).state[0], 0.00997732, 5e-9);
    EXPECT_NEAR(rig.slot(0).state[0] * 44100.0, 440.0, 0.01);
    rig.frame();
    EXPECT_NEAR(rig.slot(0).state[0], 2 * 0.00997732, 1e-8);
}

TEST(Oscillator, DetuneShiftsEvenASinglePass) {
    struct Case {
        std::uint8_t detune;
        double semitones;
    };
    for (const Case c : {Case{96, 0.5}, Case{0, -1.0}, Case{128, 1.0}, Case{64, 0.0}}) {
        PatchRig rig = oscillator_rig(c.detune, 0, 128, 64, kSine);
        rig.frame();
        EXPECT_NEAR(rig.slot(0).state[0] / increment(81 + c.semitones), 1.0, 1e-6) << +c.detune;
    }
}

TEST(Oscillator, FourPassesAlternateTheirDetuneAndStepTheirPhaseOffsets) {
    PatchRig rig = oscillator_rig(128, 0, 128, 64, kSine | 3);
    const double out = rig.frame();
    const double shifts[] = {1.0, -0.5, 0.25, -0.125};
    double expected = 0.0;
    for (int k = 0; k < 4; ++k) {
        const double phase = rig.slot(0).state[2 * k];
        EXPECT_NEAR(phase / increment(81 + shifts[k]), 1.0, 1e-6) << k;
        expected += std::sin(6.283185307179586 *
                             (phase + k * static_cast<double>(synth_constants.twelfth)));
    }
    EXPECT_NEAR(out, expected, 1e-6);
    // The running offset is left in the decoded parameter.
    EXPECT_NEAR(rig.voice().params[2], 3.0 / 12, 1e-6);
}

TEST(Oscillator, SineColourOfHalfLeavesTheSecondHalfOfEachCycleSilent) {
    PatchRig rig = oscillator_rig(64, 0, 64, 64, kSine, 100); // about 1.3 kHz
    int silent = 0;
    int sounding = 0;
    for (int k = 0; k < 2000; ++k) {
        const double out = rig.frame();
        const double phase = rig.slot(0).state[0];
        if (phase > 0.5 + 1e-6) {
            ASSERT_EQ(out, 0.0) << phase;
            ++silent;
        } else if (phase > 1e-6 && phase < 0.5 - 1e-6 && std::fabs(phase - 0.25) > 1e-6) {
            ASSERT_NE(out, 0.0) << phase;
            ASSERT_NEAR(out, std::sin(6.283185307179586 * phase / 0.5), 1e-6);
            ++sounding;
        }
    }
    EXPECT_GT(silent, 900);
    EXPECT_GT(sounding, 900);
}

TEST(Oscillator, PhaseOffsetIsAddedBeforeTheWaveformButNotStored) {
    PatchRig plain = oscillator_rig(64, 0, 128, 64, kSine);
    PatchRig offset = oscillator_rig(64, 32, 128, 64, kSine); // a quarter cycle
    const double a = plain.frame();
    const double b = offset.frame();
    EXPECT_EQ(plain.slot(0).state[0], offset.slot(0).state[0]);
    const double phase = plain.slot(0).state[0];
    EXPECT_NEAR(a, std::sin(6.283185307179586 * phase), 1e-6);
    EXPECT_NEAR(b, std::cos(6.283185307179586 * phase), 1e-6);
}

TEST(Oscillator, GateUsesTheRawColourAndShapeBytesAsItsSteps) {
    // Only step 8 (bit 0 of the shape byte) is on; colour and shape ports do not change it.
    PatchRig rig = oscillator_rig(64, 0, 0, 1, kGate, 81);
    rig.slot(0).ports[3] = 1.0f; // decoded colour changes, the step word does not
    double out = 0.0;
    for (int k = 0; k < 40; ++k) { // the phase stays below 0.5 - 1/32: step 8 is not reached
        out = rig.frame();
        ASSERT_EQ(out, 0.0);
    }
    while (rig.slot(0).state[0] < 0.5 - 1.0 / 32) {
        out = rig.frame();
    }
    EXPECT_EQ(out, 1.0 / 256);
}

TEST(Oscillator, GatePassesTwoAndThreeShareSlotWordsAndFeedTheUnitsOwnPorts) {
    // Every step on, so every gate moves towards 1.
    for (int passes : {2, 3, 4}) {
        PatchRig rig =
            oscillator_rig(64, 30, 255, 255, static_cast<std::uint8_t>(kGate | (passes - 1)));
        const double out = rig.frame();
        UnitSlot& slot = rig.slot(0);
        const double inc = increment(81);
        EXPECT_NEAR(out, passes / 256.0, 1e-12) << passes;
        EXPECT_EQ(slot.state[0], static_cast<float>(inc));
        if (passes == 2) {
            EXPECT_EQ(slot.state[4], 1.0f / 256); // pass 0's gate level, untouched
            EXPECT_EQ(slot.ports[0], 0.0f);
        } else {
            // Pass 2 took pass 0's fresh gate level as its phase and advanced it.
            EXPECT_EQ(slot.state[4], static_cast<float>(1.0 / 256 + inc)) << passes;
            EXPECT_EQ(slot.ports[0], 1.0f / 256) << passes;
        }
        EXPECT_EQ(slot.ports[2], passes == 4 ? 1.0f / 256 : 0.0f) << passes;

        // At the next frame the ports raise the unit's own transpose and phase offset.
        rig.frame();
        EXPECT_EQ(rig.voice().params[0], passes >= 3 ? 0.5f + 1.0f / 256 : 0.5f) << passes;
        // The gates of passes 2 and 3 start from zero again each frame.
        if (passes >= 3) {
            EXPECT_EQ(slot.ports[0], 1.0f / 256);
        }
    }
}

TEST(Oscillator, StereoFlagChangesNothing) {
    PatchRig a({mono(kOscillator), 0}, {70, 90, 10, 50, 80, 100, kSine | 2});
    PatchRig b({stereo(kOscillator), 0}, {70, 90, 10, 50, 80, 100, kSine | 2});
    a.voice().note = b.voice().note = 40;
    for (int k = 0; k < 100; ++k) {
        ASSERT_EQ(a.frame(), b.frame());
    }
}
