#include "unit_maths.h"
#include "units.h"

#include <bit>

namespace {

enum Stage : std::int32_t { kAttack = 0, kDecay = 1, kSustain = 2, kRelease = 3, kFinished = 4 };

} // namespace

// Attack, decay, sustain, release. State word 0 is the stage (an integer), word 1 the level
// without gain. The output carries the unrounded level reached in this frame.
void op_envelope(UnitContext& c) {
    const float* params = c.voice->params;
    const double attack = params[0], decay = params[1], sustain = params[2];
    const double release = params[3], gain = params[4];
    float* state = c.slot->state;

    auto stage = std::bit_cast<std::int32_t>(state[0]);
    if (c.voice->release_count != 0) {
        stage = kRelease;
    }
    double level = state[1];
    switch (stage) {
    case kAttack:
        level += nonlinear_map(attack);
        if (level >= 1.0) {
            stage = kDecay;
            level = 1.0;
        }
        break;
    case kDecay:
        level -= nonlinear_map(decay);
        if (sustain >= level) {
            stage = kSustain;
            level = sustain;
        }
        break;
    case kRelease:
        level -= nonlinear_map(release);
        if (level <= 0.0) {
            stage = kFinished;
            level = 0.0;
        }
        break;
    default: // sustain holds; finished never starts a frame
        c.stack->push(level * gain);
        return;
    }
    state[0] = std::bit_cast<float>(stage);
    state[1] = static_cast<float>(level);
    c.stack->push(level * gain);
}
