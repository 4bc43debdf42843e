// The synthesizer's working memory. Its word layout is part of the patch format: send targets
// are 32-bit word indices into SynthState or into a Voice, so the offsets are asserted below.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int kVoiceCount = 32;
inline constexpr int kUnitSlots = 63;
inline constexpr int kParamWords = 14;
inline constexpr int kDelayLineCount = 17;
inline constexpr int kDelayRingSize = 65'536;
inline constexpr int kOutputWords = 8;

// A unit's private state (float or integer, as the unit defines) and its modulation ports.
struct UnitSlot {
    float state[8];
    float ports[8];
};

struct Voice {
    std::int32_t note;          // last note-on, 0 before the first
    std::int32_t release_count; // nonzero means released
    float params[kParamWords];  // decoded parameters of the unit that is running
    UnitSlot units[kUnitSlots]; // units[k] belongs to the k-th command of the instrument
};

struct DelayLine {
    float damp_state;
    float ring[kDelayRingSize];
    float dc_state[2]; // previous input, previous output of a channel's DC blocker
};

struct SynthState {
    std::uint32_t unused[8];
    float outputs[kOutputWords]; // main pair, aux pair, four more
    Voice voices[kVoiceCount];
    DelayLine delay_lines[kDelayLineCount];
};

inline constexpr std::size_t kWord = 4;
static_assert(sizeof(UnitSlot) == 16 * kWord);
static_assert(sizeof(Voice) == 1024 * kWord);
static_assert(offsetof(Voice, params) == 2 * kWord && offsetof(Voice, units) == 16 * kWord);
static_assert(sizeof(DelayLine) == 65'539 * kWord);
static_assert(offsetof(DelayLine, ring) == 1 * kWord &&
              offsetof(DelayLine, dc_state) == 65'537 * kWord);
static_assert(offsetof(SynthState, outputs) == 8 * kWord);
static_assert(offsetof(SynthState, voices) == 16 * kWord);
static_assert(offsetof(SynthState, delay_lines) == 32'784 * kWord);
static_assert(sizeof(SynthState) == 1'146'947 * kWord);

// The program's one instance, zero at start and never cleared as a whole.
extern SynthState synth_state;
