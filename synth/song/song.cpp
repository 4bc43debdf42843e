#include "song.h"

#include <array>

namespace {

// Four instruments, one per voice, each closed by a 0 byte.
constexpr std::uint8_t patch_commands[] = {
    2,  4,  6,  8, 10, 13, 4, 14, 0, // voice 0: the drone and its gate
    16, 14, 0,                       // voice 1: note value into the drone's colour
    16, 14, 0,                       // voice 2: note value into voice 1's send amount
    19, 9,  21, 0,                   // voice 3: comb reverb on the aux pair
};

constexpr std::uint8_t patch_values[] = {
    103, 64,  120, 74, 64,         // envelope
    64,  85,  0,   64, 64, 64, 66, // sine oscillator, 3 passes
    0,   128, 96,  0,  0,  1,      // mono delay, line 0, one tap
    64,                            // pan
    125, 0,                        // out + aux
    64,  64,  30,  64, 64, 64, 7,  // gate oscillator, 4 passes
    86,  40,  0,                   // send into the drone's transpose
    80,  59,  128,                 // voice 1: send into voice 0's colour
    128, 56,  132,                 // voice 2: send into voice 1's amount
    2,                             // voice 3: aux pair in
    40,  128, 96,  0,  1,  15,     // stereo delay, 8 taps per channel
    128,                           // out
};

constexpr int kPatternCount = 11;

// Every pattern holds on all rows but 0 and 16.
constexpr std::array<std::uint8_t, 32 * kPatternCount> make_patterns() {
    constexpr std::uint8_t row0[kPatternCount] = {28, 1, 76, 88, 52, 40, 76, 52, 40, 64, 81};
    constexpr std::uint8_t row16[kPatternCount] = {1, 1, 1, 1, 1, 1, 64, 40, 52, 76, 88};
    std::array<std::uint8_t, 32 * kPatternCount> patterns{};
    for (int p = 0; p < kPatternCount; ++p) {
        for (int r = 0; r < 32; ++r) {
            patterns[32 * p + r] = r == 0 ? row0[p] : r == 16 ? row16[p] : kEventHold;
        }
    }
    return patterns;
}

constexpr auto patterns = make_patterns();

constexpr std::uint8_t tracks[kTrackCount * kOrderPositions] = {
    0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 3, 1, 1, 1, 1, 1,
    4, 1, 1, 5, 1, 1, 1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 6, 1, 1, 1, 1, 1, 7, 1, 8, 1, 9, 1, 10,
};

constexpr std::uint16_t delay_times[] = {
    13230,                                           // voice 0's line
    1116,  1188, 1276, 1356, 1422, 1492, 1556, 1618, // right taps
    1140,  1212, 1300, 1380, 1446, 1516, 1580, 1642, // left taps, 24 frames longer
};

static_assert(sizeof patch_commands == 19 && sizeof patch_values == 45);
static_assert(sizeof delay_times / sizeof delay_times[0] == 17);

} // namespace

const Song the_song = {patch_commands, patch_values, patterns, tracks, delay_times, kSongVoices};
