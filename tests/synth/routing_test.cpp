#include "patch_rig.h"
#include "sequencer.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint8_t lo(std::uint16_t w) {
    return static_cast<std::uint8_t>(w & 0xFF);
}
constexpr std::uint8_t hi(std::uint16_t w) {
    return static_cast<std::uint8_t>(w >> 8);
}

constexpr std::uint16_t kGlobal = 0x8000;
constexpr std::uint16_t kConsume = 0x0008;
constexpr std::uint16_t block(int b) {
    return static_cast<std::uint16_t>(b << 4);
}

} // namespace

TEST(Pan, SplitsLinearlyWithLeftOnTop) {
    struct Case {
        std::uint8_t panning;
        double right, left;
    };
    for (const Case c : {Case{0, 0.0, 2.0}, Case{128, 2.0, 0.0}, Case{64, 1.0, 1.0}}) {
        PatchRig rig({mono(kPan), 0}, {c.panning});
        rig.stack.push(2.0);
        run_vm(*rig.state, rig.stack, {rig.commands.data(), rig.values.data(), nullptr}, 1, 0);
        ASSERT_EQ(rig.stack.depth, 2);
        EXPECT_EQ(rig.stack.values[0], c.right) << +c.panning;
        EXPECT_EQ(rig.stack.values[1], c.left) << +c.panning;
    }
}

TEST(Mul, MultipliesTheTopTwo) {
    PatchRig rig({mono(kMul), 0}, {});
    EXPECT_EQ(rig.frame({3.0, -0.25}), -0.75);
}

TEST(Outputs, OutAndOutAuxAlwaysTakeAPairAndAddIntoTheirWords) {
    for (std::uint8_t command : {mono(kOut), stereo(kOut)}) {
        PatchRig rig({command, 0}, {64});
        rig.state->outputs[0] = 1.0f;
        rig.frame({3.0, 5.0}); // right 3 below, left 5 on top
        EXPECT_EQ(rig.stack.depth, 0);
        EXPECT_EQ(rig.state->outputs[0], 3.5f);
        EXPECT_EQ(rig.state->outputs[1], 1.5f);
    }
    PatchRig aux({mono(kOutAux), 0}, {128, 32});
    aux.frame({4.0, 8.0});
    EXPECT_EQ(aux.state->outputs[0], 8.0f);
    EXPECT_EQ(aux.state->outputs[1], 4.0f);
    EXPECT_EQ(aux.state->outputs[2], 2.0f);
    EXPECT_EQ(aux.state->outputs[3], 1.0f);
}

TEST(Outputs, InTakesAPairAndClearsItSoASecondInPushesZeros) {
    PatchRig rig({stereo(kIn), stereo(kIn), 0}, {2, 2});
    rig.state->outputs[2] = 7.0f;
    rig.state->outputs[3] = 9.0f;
    rig.stack.depth = 0;
    run_vm(*rig.state, rig.stack, {rig.commands.data(), rig.values.data(), nullptr}, 1, 0);
    ASSERT_EQ(rig.stack.depth, 4);
    EXPECT_EQ(rig.stack.values[0], 9.0); // right below
    EXPECT_EQ(rig.stack.values[1], 7.0); // left on top
    EXPECT_EQ(rig.stack.values[2], 0.0);
    EXPECT_EQ(rig.stack.values[3], 0.0);
    EXPECT_EQ(rig.state->outputs[2], 0.0f);
    EXPECT_EQ(rig.state->outputs[3], 0.0f);
}

TEST(LoadNote, PushesTheNoteAsABipolarValue) {
    struct Case {
        int note;
        double value;
    };
    for (const Case c :
         {Case{0, -1.0}, Case{64, 0.0}, Case{88, 0.375}, Case{40, -0.375}, Case{81, 0.265625}}) {
        PatchRig rig({mono(kLoadNote), 0}, {});
        rig.voice().note = c.note;
        EXPECT_EQ(rig.frame(), c.value) << c.note;
    }
}

TEST(Send, AddressesLocalAndGlobalWordsAndHonoursTheConsumeBit) {
    struct Case {
        const char* what;
        std::uint16_t target;
        float* (*word)(SynthState&);
        bool pops;
    };
    const Case cases[] = {
        {"local port 2 of unit 1", static_cast<std::uint16_t>(block(2) | 2),
         [](SynthState& s) { return &s.voices[0].units[1].ports[2]; }, false},
        {"local, consumed", static_cast<std::uint16_t>(block(2) | kConsume | 2),
         [](SynthState& s) { return &s.voices[0].units[1].ports[2]; }, true},
        {"local block 0: voice words beyond the parameters",
         static_cast<std::uint16_t>(block(0) | 5),
         [](SynthState& s) { return &s.voices[0].params[11]; }, false},
        {"global block 0 port 0: main left output", kGlobal | block(0),
         [](SynthState& s) { return &s.outputs[0]; }, false},
        {"global voice 2, unit 4, port 7",
         static_cast<std::uint16_t>(kGlobal | block(64 * 2 + 4 + 2) | kConsume | 7),
         [](SynthState& s) { return &s.voices[2].units[4].ports[7]; }, true},
        {"global highest block: voice 31, unit 61",
         static_cast<std::uint16_t>(kGlobal | block(2047) | 1),
         [](SynthState& s) { return &s.voices[31].units[61].ports[1]; }, false},
    };
    for (const Case& c : cases) {
        PatchRig rig({mono(kSend), 0}, {96, lo(c.target), hi(c.target)}); // amount 0.75: A = 0.5
        *c.word(*rig.state) = 1.0f;
        rig.stack.depth = 0;
        rig.stack.push(3.0);
        run_vm(*rig.state, rig.stack, {rig.commands.data(), rig.values.data(), nullptr}, 1, 0);
        EXPECT_EQ(*c.word(*rig.state), 2.5f) << c.what;
        EXPECT_EQ(rig.stack.depth, c.pops ? 0 : 1) << c.what;
    }
}

TEST(Send, AmountOfHalfAddsNothingButStillConsumes) {
    const std::uint16_t target = block(1) | kConsume;
    PatchRig rig({mono(kSend), 0}, {64, lo(target), hi(target)});
    rig.stack.depth = 0;
    rig.stack.push(3.0);
    run_vm(*rig.state, rig.stack, {rig.commands.data(), rig.values.data(), nullptr}, 1, 0);
    EXPECT_EQ(rig.stack.depth, 0);
    EXPECT_EQ(rig.slot(0).ports[0], 0.0f);
}

TEST(Send, ActsInTheSameFrameOnLaterUnitsAndInTheNextOnEarlierOnes) {
    // Note 96 pushes 0.5; the send (A = 1) goes into the gain port of a full-level envelope.
    const std::uint16_t forward = block(3) | kConsume | 4;  // unit 2, after the sender
    const std::uint16_t backward = block(1) | kConsume | 4; // unit 0, before the sender
    PatchRig later({mono(kLoadNote), mono(kSend), mono(kEnvelope), 0},
                   {128, lo(forward), hi(forward), 0, 128, 128, 0, 0});
    PatchRig earlier({mono(kEnvelope), mono(kLoadNote), mono(kSend), 0},
                     {0, 128, 128, 0, 0, 128, lo(backward), hi(backward)});
    later.voice().note = earlier.voice().note = 96;
    EXPECT_EQ(later.frame(), 0.5);
    EXPECT_EQ(earlier.frame(), 0.0);
    EXPECT_EQ(earlier.frame(), 0.5);
}

TEST(Send, ModulationFromAnotherVoiceIsSeenOnceThenTheParameterReturns) {
    // Voice 0: an envelope at full level with gain byte 0. Voice 1 sends its note value into that
    // gain port. Running voice 1 in one frame only raises the gain in the next frame only.
    const std::uint16_t target = kGlobal | block(2) | kConsume | 4;
    PatchRig rig({mono(kEnvelope), 0, mono(kLoadNote), mono(kSend), 0},
                 {0, 128, 128, 0, 0, 128, lo(target), hi(target)});
    rig.voice(1).note = 80; // pushes 0.25
    rig.voice_count = 2;
    rig.stack.depth = 0;
    const Patch patch{rig.commands.data(), rig.values.data(), nullptr};
    run_vm(*rig.state, rig.stack, patch, 2, 0);
    EXPECT_EQ(rig.stack.pop(), 0.0);
    run_vm(*rig.state, rig.stack, patch, 1, 1);
    EXPECT_EQ(rig.stack.pop(), 0.25);
    run_vm(*rig.state, rig.stack, patch, 1, 2);
    EXPECT_EQ(rig.stack.pop(), 0.0);
}

TEST(Sequencer, NoteOnZeroesTheVoiceButNotDelayLinesOutputsOrOtherVoices) {
    // Track 0 plays note 50 at row 0, holds, releases twice, then plays note 60 at row 4.
    std::vector<std::uint8_t> patterns(32, kEventHold);
    patterns[0] = 50;
    patterns[2] = kEventRelease;
    patterns[3] = kEventRelease;
    patterns[4] = 60;
    std::vector<std::uint8_t> tracks(kTrackCount * kOrderPositions, 0);
    for (int t = 1; t < kTrackCount; ++t) {
        std::fill_n(tracks.begin() + kOrderPositions * t, kOrderPositions, 1);
    }
    patterns.resize(64, kEventHold); // pattern 1: holds only
    const Song song{{}, {}, patterns, tracks, {}, 3};
    auto state = std::make_unique<SynthState>();

    update_voices(*state, song, 0);
    EXPECT_EQ(state->voices[0].note, 50);
    EXPECT_EQ(state->voices[1].note, 0); // a hold on a fresh voice leaves note 0
    update_voices(*state, song, 2);
    update_voices(*state, song, 3);
    EXPECT_EQ(state->voices[0].release_count, 2);

    state->voices[0].units[5].ports[3] = 1.0f; // a send from the last frame of row 3
    state->voices[0].units[0].state[1] = 0.5f;
    state->voices[0].params[4] = 0.25f;
    state->voices[1].units[0].ports[0] = 2.0f;
    state->delay_lines[0].ring[9] = 3.0f;
    state->outputs[2] = 4.0f;
    update_voices(*state, song, 4);
    EXPECT_EQ(state->voices[0].note, 60);
    EXPECT_EQ(state->voices[0].release_count, 0);
    EXPECT_EQ(state->voices[0].units[5].ports[3], 0.0f);
    EXPECT_EQ(state->voices[0].units[0].state[1], 0.0f);
    EXPECT_EQ(state->voices[0].params[4], 0.0f);
    EXPECT_EQ(state->voices[1].units[0].ports[0], 2.0f);
    EXPECT_EQ(state->delay_lines[0].ring[9], 3.0f);
    EXPECT_EQ(state->outputs[2], 4.0f);
}
