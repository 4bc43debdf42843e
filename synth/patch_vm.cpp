#include "patch_vm.h"

#include "synth_constants.h"
#include "units.h"

const UnitRoutine opcode_handlers[kOpcodeCount + 1] = {
    nullptr,    op_envelope, op_oscillator, op_mul, op_delay, op_pan,
    op_out_aux, op_send,     op_load_note,  op_in,  op_out,
};

const std::uint8_t param_counts[kOpcodeCount + 1] = {0, 5, 6, 0, 4, 1, 2, 1, 0, 0, 1};

void run_vm(SynthState& state, SignalStack& stack, const Patch& patch, int voice_count,
            std::uint32_t song_sample) {
    const std::uint8_t* command = patch.commands;
    const double scale = synth_constants.param_scale;
    UnitContext c{&state, nullptr, nullptr,     &stack,           patch.values,
                  false,  0,       song_sample, patch.delay_times};

    for (int v = 0; voice_count > 0; ++v, --voice_count) {
        Voice& voice = state.voices[v];
        c.voice = &voice;
        c.slot = voice.units;
        for (std::uint8_t byte = *command++; byte != 0; byte = *command++, ++c.slot) {
            const int opcode = byte >> 1;
            // Locals: the byte stores below could otherwise alias the counts and the cursor.
            const int count = param_counts[opcode];
            const std::uint8_t* values = c.values;
            float* ports = c.slot->ports;
            for (int i = 0; i < count; ++i) {
                const double decoded = values[i] * scale + static_cast<double>(ports[i]);
                voice.params[i] = static_cast<float>(decoded);
                ports[i] = 0.0f;
            }
            c.values = values + count;
            c.stereo = (byte & 1) != 0;
            opcode_handlers[opcode](c);
        }
    }
}
