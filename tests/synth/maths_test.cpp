#include "unit_maths.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(Pow2, IntegerPowersAreExactAndFractionsMatchTheLibrary) {
    EXPECT_EQ(pow2(0.0), 1.0);
    EXPECT_EQ(pow2(3.0), 8.0);
    EXPECT_EQ(pow2(-24.0), 0x1p-24);
    EXPECT_EQ(pow2(-1022.0), 0x1p-1022);
    // The fraction keeps the sign of x: -2.5 splits into -2 and -0.5, never -3 and +0.5.
    for (double x : {-19.3125, -13.875, -12.5, -2.5, -0.75, 0.25, 2.3333333, 6.75, 40.1}) {
        const double i = std::trunc(x);
        EXPECT_EQ(pow2(x), std::exp2(x - i) * std::exp2(i)) << x;
        EXPECT_NEAR(pow2(x) / std::pow(2.0, x), 1.0, 1e-15) << x;
    }
}

TEST(NonlinearMap, MapsZeroHalfAndOneToTheirSpeeds) {
    EXPECT_EQ(nonlinear_map(0.0), 1.0);
    EXPECT_EQ(nonlinear_map(0.5), 0x1p-12);
    EXPECT_EQ(nonlinear_map(1.0), 0x1p-24);
    EXPECT_NEAR(nonlinear_map(0.8046875), std::exp2(-19.3125), 1e-20);
}

TEST(Waveshaper, KeepsEndsAndShapesTheMiddle) {
    for (double a : {0.1, 0.5, 0.9}) {
        EXPECT_EQ(waveshaper(0.0, a), 0.0);
        EXPECT_DOUBLE_EQ(waveshaper(1.0, a), 1.0);
        EXPECT_DOUBLE_EQ(waveshaper(-1.0, a), -1.0);
    }
    EXPECT_EQ(waveshaper(0.3, 0.5), 0.3);
    EXPECT_LT(waveshaper(0.3, 0.25), 0.3);
    EXPECT_GT(waveshaper(0.3, 0.75), 0.3);
    // Undefined quotients come out as silence, never NaN.
    EXPECT_EQ(waveshaper(0.0, 1.0), 0.0);
    EXPECT_EQ(waveshaper(1.0, 0.0), 0.0);
}

TEST(OscSine, PutsOnePeriodIntoTheColourFraction) {
    EXPECT_NEAR(osc_sine(0.125, 0.5), 1.0, 1e-15);
    EXPECT_NEAR(osc_sine(0.375, 0.5), -1.0, 1e-15);
    EXPECT_EQ(osc_sine(0.5000001, 0.5), 0.0);
    EXPECT_EQ(osc_sine(0.9, 0.5), 0.0);
    EXPECT_NEAR(osc_sine(0.25, 1.0), 1.0, 1e-15);
    EXPECT_EQ(osc_sine(0.0, 0.0), 0.0); // zero by zero
}

TEST(OscGate, RoundsPhasesToTheNearestStepHalvesToEven) {
    struct Case {
        double phase;
        std::uint32_t expected_step;
    };
    const Case cases[] = {
        {0.0, 0},
        {1.0 / 32, 0}, // 0.5 rounds to even 0
        {1.0 / 32 + 1e-9, 1},
        {3.0 / 32, 2}, // 1.5 rounds to even 2
        {5.0 / 32, 2},
        {0.5, 8},
        {31.0 / 32 - 1e-9, 15},
        {31.0 / 32, 0}, // 15.5 rounds to 16, which is step 0
        {0.999, 0},
    };
    for (const Case& c : cases) {
        for (std::uint32_t step = 0; step < 16; ++step) {
            float level = 0.0f;
            const double out = osc_gate(c.phase, 1u << step, level);
            EXPECT_EQ(out, step == c.expected_step ? 1.0 / 256 : 0.0)
                << "phase " << c.phase << " step " << step;
        }
    }
}

TEST(OscGate, SmoothsOneTwoHundredFiftySixthOfTheWayPerFrame) {
    float level = 0.0f;
    double expected = 0.0;
    for (int k = 1; k <= 2000; ++k) {
        const double out = osc_gate(0.0, 1, level);
        expected = 1.0 - std::pow(0.99609375, k);
        ASSERT_NEAR(out, expected, 1e-6) << k;
        if (k == 1) {
            EXPECT_EQ(out, 0.00390625);
        }
    }
    // Falling back under a step that is off.
    const double out = osc_gate(0.5, 1, level);
    EXPECT_NEAR(out, expected * 0.99609375, 1e-7);
}
