// Constants shared by the patch machine and its units, used exactly as stored (32-bit values).
#pragma once

#include <bit>
#include <cstdint>

struct SynthConstants {
    float param_scale; // 1/128: parameter decoding, note value, semitone scale of transpose
    float half;        // centre of bipolar quantities; the flush of the delay's recursive states
    float pole;        // DC blocker pole and gate smoothing coefficient (255/256)
    float note0_increment; // phase increment of note 0 in cycles per frame
    float gate_steps;      // gate steps per cycle
    float twelfth;         // 1/12 rounded down to 32 bits: semitones to octaves, unison phase step
    std::int32_t envelope_exponent; // the envelope speed map is 2^(-24 p)
};

inline constexpr SynthConstants synth_constants = {
    0.0078125f,  0.5f,
    0.99609375f, std::bit_cast<float>(std::uint32_t{0x38C265DC}),
    16.0f,       std::bit_cast<float>(std::uint32_t{0x3DAAAAAA}),
    24,
};

static_assert(std::bit_cast<std::uint32_t>(synth_constants.param_scale) == 0x3C000000);
static_assert(std::bit_cast<std::uint32_t>(synth_constants.pole) == 0x3F7F0000);
static_assert(synth_constants.twelfth < 1.0 / 12.0); // cut downwards, not rounded to nearest
