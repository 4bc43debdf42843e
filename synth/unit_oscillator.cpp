#include "unit_maths.h"
#include "units.h"

namespace {

constexpr std::uint8_t kPassMask = 0x03;
constexpr std::uint8_t kGateWave = 0x04;
constexpr std::uint8_t kSineWave = 0x40;

} // namespace

// One to four detuned unison passes of a sine (through the waveshaper) or a smoothed 16-step
// gate. Pass k keeps its phase in slot word 2k and its gate level in slot word 4 + 2k, so on the
// gate with three or four passes the passes share words, as the patch format expects.
void op_oscillator(UnitContext& c) {
    // The gate's step word is the raw value bytes of color (low) and shape (high).
    const std::uint8_t* flags_byte = c.values;
    const std::uint32_t step_word = flags_byte[-3] | (flags_byte[-2] << 8);
    const std::uint8_t flags = c.take_byte();
    const int passes = (flags & kPassMask) + 1;

    float* params = c.voice->params;
    const double transpose = params[0], detune = params[1], color = params[3];
    const double shape = params[4], gain = params[5];
    const double half = synth_constants.half;
    const double twelfth = synth_constants.twelfth;
    const double note0_increment = synth_constants.note0_increment;
    // Dividing by the 1/128 semitone scale is exactly a multiplication by 128.
    const double semitones_per_unit = 1.0 / static_cast<double>(synth_constants.param_scale);
    const double note = c.voice->note;
    // Pass k keeps its phase in slot word 2k and its gate level in slot word 4 + 2k; slot words
    // 8 and 10 are the unit's own ports 0 and 2.
    UnitSlot& slot = *c.slot;
    float* const phase_words[4] = {&slot.state[0], &slot.state[2], &slot.state[4], &slot.state[6]};
    float* const gate_words[4] = {&slot.state[4], &slot.state[6], &slot.ports[0], &slot.ports[2]};

    // The running phase offset lives in the decoded parameter itself, rounded at every pass.
    // The increments depend on nothing a pass writes, so they are worked out first, side by side.
    double detune_shift = (detune - half) * 2.0;
    float offsets[4];
    double increments[4];
    double previous_semitones = 0.0;
    offsets[0] = params[2];
    for (int k = 0; k < passes; ++k) {
        if (k > 0) {
            offsets[k] = static_cast<float>(static_cast<double>(offsets[k - 1]) + twelfth);
            detune_shift = -half * static_cast<double>(static_cast<float>(detune_shift));
        }
        const double semitones = (transpose - half) * semitones_per_unit + detune_shift + note;
        // Without detune every pass has the same pitch: one library call serves them all.
        increments[k] = k > 0 && semitones == previous_semitones
                            ? increments[k - 1]
                            : pow2(semitones * twelfth) * note0_increment;
        previous_semitones = semitones;
    }

    // The passes themselves run in order, as the gate's shared words require.
    double acc = 0.0;
    for (int k = 0; k < passes; ++k) {
        float& phase_word = *phase_words[k];
        const double phase = remainder_one(static_cast<double>(phase_word) + increments[k] + 1.0);
        phase_word = static_cast<float>(phase);
        const double p = remainder_one(phase + static_cast<double>(offsets[k]) + 1.0);

        double v = 0.0;
        if (flags & kSineWave) {
            v = waveshaper(osc_sine(p, color), shape);
        } else if (flags & kGateWave) {
            v = osc_gate(p, step_word, *gate_words[k]);
        }
        acc += v * gain;
    }
    params[2] = offsets[passes - 1];
    c.stack->push(acc);
}
