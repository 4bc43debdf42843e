// A small patch running on a state of its own, frame by frame, for the unit tests.
#pragma once

#include "patch_vm.h"
#include "synth_state.h"

#include <cstdint>
#include <memory>
#include <vector>

struct PatchRig {
    std::unique_ptr<SynthState> state = std::make_unique<SynthState>(); // zeroed
    SignalStack stack{};
    std::vector<std::uint8_t> commands;
    std::vector<std::uint8_t> values;
    std::vector<std::uint16_t> delay_times;
    std::uint32_t song_sample = 0;
    int voice_count = 1;

    PatchRig(std::vector<std::uint8_t> c, std::vector<std::uint8_t> v,
             std::vector<std::uint16_t> d = {0});

    Voice& voice(int v = 0) { return state->voices[v]; }
    UnitSlot& slot(int k, int v = 0) { return state->voices[v].units[k]; }

    // Runs one frame with the given values pushed first (bottom first); returns the top of the
    // stack afterwards, unrounded, and empties the stack.
    double frame(std::vector<double> inputs = {});
};

// Command byte of an opcode.
constexpr std::uint8_t mono(int opcode) {
    return static_cast<std::uint8_t>(opcode * 2);
}
constexpr std::uint8_t stereo(int opcode) {
    return static_cast<std::uint8_t>(opcode * 2 + 1);
}

enum Opcode : int {
    kEnvelope = 1,
    kOscillator = 2,
    kMul = 3,
    kDelay = 4,
    kPan = 5,
    kOutAux = 6,
    kSend = 7,
    kLoadNote = 8,
    kIn = 9,
    kOut = 10,
};
