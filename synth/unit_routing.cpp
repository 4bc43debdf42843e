// The units that combine and route signals rather than generate them.
#include "synth_constants.h"
#include "units.h"

namespace {

constexpr std::uint16_t kGlobalBit = 0x8000;
constexpr std::uint16_t kConsumeBit = 0x0008;

void add_into(float& word, double x) {
    word = static_cast<float>(static_cast<double>(word) + x);
}

// The word a send target names: 16 * block + 8 + port from its base, decoded into the record's
// fields rather than by casting the records to a word array.
float& send_target(SynthState& state, Voice& voice, std::uint16_t target) {
    const int port = target & 7;
    const int block = (target >> 4) & 0x7FF;
    const bool global = (target & kGlobalBit) != 0;
    if (global && block == 0) {
        return state.outputs[port];
    }
    // Globally, voice v starts at block 64v + 1.
    Voice& base_voice = global ? state.voices[(block - 1) / 64] : voice;
    const int voice_block = global ? (block - 1) % 64 : block;
    if (voice_block == 0) {
        return base_voice.params[6 + port]; // voice words 8..15, beyond every unit's parameters
    }
    return base_voice.units[voice_block - 1].ports[port];
}

} // namespace

void op_mul(UnitContext& c) {
    const double a = c.stack->pop();
    const double b = c.stack->pop();
    c.stack->push(a * b);
}

void op_pan(UnitContext& c) {
    const double panning = c.voice->params[0];
    const double x = c.stack->pop();
    c.stack->push(panning * x);         // right
    c.stack->push((1.0 - panning) * x); // left, on top
}

void op_send(UnitContext& c) {
    const std::uint16_t target = c.take_word();
    const double amount = c.voice->params[0];
    const double x = (target & kConsumeBit) != 0 ? c.stack->pop() : c.stack->top();
    const double bipolar = (amount - static_cast<double>(synth_constants.half)) * 2.0;
    add_into(send_target(*c.state, *c.voice, target), bipolar * x);
}

void op_out(UnitContext& c) {
    const double gain = c.voice->params[0];
    const double left = c.stack->pop();
    const double right = c.stack->pop();
    add_into(c.state->outputs[0], left * gain);
    add_into(c.state->outputs[1], right * gain);
}

void op_out_aux(UnitContext& c) {
    const double outgain = c.voice->params[0];
    const double auxgain = c.voice->params[1];
    const double left = c.stack->pop();
    const double right = c.stack->pop();
    add_into(c.state->outputs[0], left * outgain);
    add_into(c.state->outputs[2], left * auxgain);
    add_into(c.state->outputs[1], right * outgain);
    add_into(c.state->outputs[3], right * auxgain);
}

void op_in(UnitContext& c) {
    const int channel = c.take_byte();
    float* outputs = c.state->outputs;
    c.stack->push(outputs[channel + 1]);
    c.stack->push(outputs[channel]); // left, on top
    outputs[channel] = 0.0f;
    outputs[channel + 1] = 0.0f;
}

void op_load_note(UnitContext& c) {
    const double scale = synth_constants.param_scale;
    const double half = synth_constants.half;
    c.stack->push((c.voice->note * scale - half) * 2.0);
}
