// The patch virtual machine: runs every voice's instrument, a list of unit commands, once per
// frame over a small signal stack.
#pragma once

#include "synth_state.h"

#include <cstdint>

inline constexpr int kSignalStackSize = 8;
inline constexpr int kOpcodeCount = 10;

// Signal values, carried in double precision. The top is the left value of a stereo pair. It is
// not cleared between voices or frames: a balanced patch leaves it empty.
struct SignalStack {
    double values[kSignalStackSize];
    int depth;

    void push(double v) { values[depth++] = v; }
    double pop() { return values[--depth]; }
    double& top() { return values[depth - 1]; }
};

// What a unit sees while it runs. One context serves a whole frame: run_vm moves it on to each
// voice and slot, and units advance the value stream and the delay cursor through it.
struct UnitContext {
    SynthState* state;
    Voice* voice;
    UnitSlot* slot;
    SignalStack* stack;
    const std::uint8_t* values; // read position in the value stream, just past the parameters
    bool stereo;
    int delay_cursor;
    std::uint32_t song_sample;
    const std::uint16_t* delay_times;

    std::uint8_t take_byte() { return *values++; }
    std::uint16_t take_word() {
        const auto low = take_byte();
        return static_cast<std::uint16_t>(low | (take_byte() << 8));
    }
};

using UnitRoutine = void (*)(UnitContext&);

// Indexed by opcode; entry 0 (end of instrument) is never called.
extern const UnitRoutine opcode_handlers[kOpcodeCount + 1];
extern const std::uint8_t param_counts[kOpcodeCount + 1];

struct Patch {
    const std::uint8_t* commands;
    const std::uint8_t* values;
    const std::uint16_t* delay_times;
};

// One frame: runs voice_count voices from voice 0, adding the frame's output into
// state.outputs. The patch is trusted; check_patch refuses malformed ones beforehand.
void run_vm(SynthState& state, SignalStack& stack, const Patch& patch, int voice_count,
            std::uint32_t song_sample);
