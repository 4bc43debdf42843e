#include "patch_rig.h"

#include <bit>
#include <gtest/gtest.h>

namespace {

PatchRig envelope_rig(std::uint8_t attack, std::uint8_t decay, std::uint8_t sustain,
                      std::uint8_t release, std::uint8_t gain = 128) {
    return PatchRig({mono(kEnvelope), 0}, {attack, decay, sustain, release, gain});
}

std::int32_t stage(PatchRig& rig) {
    return std::bit_cast<std::int32_t>(rig.slot(0).state[0]);
}
float level(PatchRig& rig) {
    return rig.slot(0).state[1];
}

} // namespace

TEST(Envelope, RunsAttackDecayAndSustainAtTheirSpeeds) {
    // attack and decay bytes 64 give 2^-12 per frame, exact in float; sustain byte 120 is 0.9375.
    PatchRig rig = envelope_rig(64, 64, 120, 64, 64);
    for (int k = 1; k < 4096; ++k) {
        ASSERT_EQ(rig.frame(), k * 0x1p-12 * 0.5) << k;
        ASSERT_EQ(stage(rig), 0);
    }
    EXPECT_EQ(rig.frame(), 0.5); // reaches 1.0 at frame 4096, clamped, gain 0.5
    EXPECT_EQ(stage(rig), 1);
    for (int k = 1; k < 256; ++k) {
        ASSERT_EQ(rig.frame(), (1.0 - k * 0x1p-12) * 0.5) << k;
        ASSERT_EQ(stage(rig), 1);
    }
    EXPECT_EQ(rig.frame(), 0.9375 * 0.5); // meets the sustain level exactly
    EXPECT_EQ(stage(rig), 2);
    for (int k = 0; k < 100; ++k) {
        ASSERT_EQ(rig.frame(), 0.9375 * 0.5);
    }
    EXPECT_EQ(stage(rig), 2);
}

TEST(Envelope, AttackOfZeroReachesFullLevelInTheFirstFrame) {
    PatchRig rig = envelope_rig(0, 64, 64, 64, 96);
    EXPECT_EQ(rig.frame(), 0.75);
    EXPECT_EQ(stage(rig), 1);
    EXPECT_EQ(rig.frame(), (1.0 - 0x1p-12) * 0.75); // the decay starts at the next frame
}

TEST(Envelope, SustainAtOrAboveFullEndsTheDecayAtOnce) {
    for (std::uint8_t sustain : {std::uint8_t{128}, std::uint8_t{140}}) {
        PatchRig rig = envelope_rig(0, 64, sustain, 64);
        rig.frame();
        EXPECT_EQ(rig.frame(), sustain / 128.0);
        EXPECT_EQ(stage(rig), 2);
        EXPECT_EQ(level(rig), sustain / 128.0f);
    }
}

TEST(Envelope, ReleaseFallsFromWhereverItIsAndStaysAtExactlyZero) {
    PatchRig rig = envelope_rig(64, 64, 64, 32); // release byte 32: 2^-6 per frame
    for (int k = 0; k < 100; ++k) {
        rig.frame();
    }
    ASSERT_EQ(stage(rig), 0);
    const double from = level(rig);
    rig.voice().release_count = 1;
    EXPECT_EQ(rig.frame(), from - 0x1p-6);
    EXPECT_EQ(stage(rig), 3);
    double out = 1.0;
    int frames = 1;
    while (out > 0.0 && frames < 100) {
        out = rig.frame();
        ++frames;
    }
    EXPECT_EQ(out, 0.0);
    EXPECT_EQ(frames, 2); // 100 * 2^-12 < 2 * 2^-6
    for (int k = 0; k < 10; ++k) {
        ASSERT_EQ(rig.frame(), 0.0);
        ASSERT_EQ(stage(rig), 4); // re-entered release, clamped again
        ASSERT_EQ(level(rig), 0.0f);
    }
}

TEST(Envelope, ReleaseCountOfTwoStillMeansReleasedAndSlowestReleaseIsTwoToMinus24) {
    PatchRig rig = envelope_rig(0, 128, 128, 128);
    rig.frame(); // full level
    rig.voice().release_count = 2;
    EXPECT_EQ(rig.frame(), 1.0 - 0x1p-24);
    EXPECT_EQ(level(rig), static_cast<float>(1.0 - 0x1p-24));
    EXPECT_EQ(rig.frame(), 1.0 - 0x1p-23);
    EXPECT_EQ(stage(rig), 3);
}

TEST(Envelope, StereoFlagChangesNothing) {
    PatchRig a = envelope_rig(100, 64, 64, 64);
    PatchRig b({stereo(kEnvelope), 0}, {100, 64, 64, 64, 128});
    for (int k = 0; k < 50; ++k) {
        ASSERT_EQ(a.frame(), b.frame());
    }
}
