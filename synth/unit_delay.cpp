#include "synth_constants.h"
#include "units.h"

namespace {

// Adding and taking away 0.5 snaps a decaying state to a multiple of 2^-53 (2^-54 below zero)
// and turns anything smaller into exactly 0, so the recursive states never become subnormal.
double flush(double x) {
    const double half = synth_constants.half;
    return (x + half) - half;
}

struct DelayParams {
    double pregain, dry, feedback, damp;
    int taps_byte; // signed: 0 or >= 128 still runs one tap
    std::uint32_t write_position;
};

// One channel: feedback combs with a one-pole low-pass in each loop, summed with the dry signal,
// then the channel's DC blocker, whose state sits in the line of its last tap.
double channel_pass(UnitContext& c, const DelayParams& dp, int& table_index, double x) {
    const double in = x * dp.pregain * dp.pregain;
    double out = x * dp.dry;
    DelayLine* line = c.state->delay_lines + c.delay_cursor;
    const std::uint16_t* length = c.delay_times + table_index;
    const std::uint32_t t = dp.write_position;
    int taps = 0;
    for (;; ++line, ++length) {
        const double r = line->ring[(t - *length) & 0xFFFFu];
        out += r;
        double f = r * (1.0 - dp.damp) + dp.damp * static_cast<double>(line->damp_state);
        f = flush(f);
        line->damp_state = static_cast<float>(f);
        line->ring[t] = static_cast<float>(f * dp.feedback + in);
        if (dp.taps_byte - 2 * ++taps <= 0) {
            break;
        }
    }
    c.delay_cursor += taps;
    table_index += taps;

    const double pole = synth_constants.pole;
    double y =
        (pole * static_cast<double>(line->dc_state[1]) - static_cast<double>(line->dc_state[0])) +
        out;
    line->dc_state[0] = static_cast<float>(out);
    y = flush(y);
    line->dc_state[1] = static_cast<float>(y);
    return y;
}

} // namespace

void op_delay(UnitContext& c) {
    const std::uint16_t word = c.take_word();
    const float* params = c.voice->params;
    const DelayParams dp{params[0],
                         params[1],
                         params[2],
                         params[3],
                         static_cast<std::int8_t>(word >> 8),
                         c.song_sample & 0xFFFFu};
    int table_index = word & 0xFF;
    if (c.stereo) {
        // Right (below the top) first; the left pass continues where it stopped.
        double& right = c.stack->values[c.stack->depth - 2];
        right = channel_pass(c, dp, table_index, right);
    }
    double& left = c.stack->top();
    left = channel_pass(c, dp, table_index, left);
}
