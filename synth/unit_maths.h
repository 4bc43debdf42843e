// Numeric routines shared by the units. Arguments and results are doubles: values are rounded
// to 32-bit floats only where a unit stores them.
#pragma once

#include "synth_constants.h"

#include <bit>
#include <cmath>
#include <cstdint>

// x truncated toward zero. The conversion to a 32-bit integer is exact and far cheaper than the
// library call on plain SSE2; larger magnitudes (never met in the song) take the library path.
inline double truncate(double x) {
    if (std::fabs(x) < 0x1p31) {
        return static_cast<double>(static_cast<std::int32_t>(x));
    }
    return std::trunc(x);
}

// x rounded to the nearest integer, exact halves to even: adding and removing 2^52 rounds in the
// default rounding mode, exactly, for every |x| below 2^52.
inline double round_half_even(double x) {
    constexpr double kShift = 0x1p52;
    if (!(std::fabs(x) < kShift)) {
        return x;
    }
    return x >= 0.0 ? (x + kShift) - kShift : (x - kShift) + kShift;
}

// 2^x, split as the integer part i (truncated toward zero) and the fraction f = x - i, which is
// exact; 2^f comes from the maths library and the scale by 2^i is exact, without a library call.
inline double pow2(double x) {
    const double i = truncate(x);
    const double f = x - i;
    const double fraction_power = std::exp2(f);
    if (!(i >= -1022.0 && i <= 1023.0)) {
        return std::ldexp(fraction_power,
                          static_cast<int>(std::fmax(std::fmin(i, 2000.0), -2000.0)));
    }
    const auto scale_bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(i) + 1023) << 52;
    return fraction_power * std::bit_cast<double>(scale_bits);
}

// Per-frame speed of an envelope stage: 2^(-24 p).
inline double nonlinear_map(double p) {
    return pow2(-(static_cast<double>(synth_constants.envelope_exponent) * p));
}

// The remainder of x by 1 with the quotient truncated toward zero (sign of x), exactly.
// Phases plus 1 land in [1, 2) almost always; that case skips the conversions' latency.
inline double remainder_one(double x) {
    if (x >= 1.0 && x < 2.0) {
        return x - 1.0;
    }
    return x - truncate(x);
}

inline constexpr double kTwoPi = 6.283185307179586;

// One whole sine period in the first fraction c of the cycle, silence after it. A zero fraction
// would divide zero by zero at phase 0, so it yields silence too.
inline double osc_sine(double p, double c) {
    if (p > c || c == 0.0) {
        return 0.0;
    }
    return std::sin(kTwoPi * p / c);
}

// x a / (1 - a + (2a - 1)|x|); a zero denominator (a = 1 at x = 0, a = 0 at |x| = 1, or a
// modulated a outside 0..1) yields 0 rather than an infinity or NaN in the song.
inline double waveshaper(double x, double a) {
    // The song's neutral shape: x 0.5 / 0.5 is x itself, exactly, for every normal x.
    if (a == 0.5 && std::fabs(x) >= 0x1p-1020) {
        return x;
    }
    const double denominator = (1.0 - a) + (2.0 * a - 1.0) * std::fabs(x);
    if (denominator == 0.0) {
        return 0.0;
    }
    return x * a / denominator;
}

// One step of the smoothed 16-step gate. Steps are centred on multiples of 1/16 cycle (exact
// halves to even); a negative phase, only reachable through modulation, wraps like the others.
// Stores the new level and returns it unrounded.
inline double osc_gate(double p, std::uint32_t step_word, float& gate_level) {
    const double rounded = round_half_even(static_cast<double>(synth_constants.gate_steps) * p);
    const std::uint32_t step =
        std::fabs(rounded) < 0x1p31
            ? static_cast<std::uint32_t>(static_cast<std::int32_t>(rounded)) & 15u
            : 0u;
    const double g = ((step_word >> step) & 1u) != 0 ? 1.0 : 0.0;
    const double level =
        g + (static_cast<double>(gate_level) - g) * static_cast<double>(synth_constants.pole);
    gate_level = static_cast<float>(level);
    return level;
}
