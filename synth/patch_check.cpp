#include "patch_check.h"

#include <cstdio>

namespace {

struct StackEffect {
    int pops;
    int pushes;
    int peak; // most entries the unit occupies above its starting depth while it runs
};

// Indexed by opcode. The oscillator's gate, the stereo delay and a consuming send differ.
constexpr StackEffect kStackEffects[kOpcodeCount + 1] = {
    {0, 0, 0}, {0, 1, 4}, {0, 1, 5}, {2, 1, 0}, {1, 1, 3}, {1, 2, 1},
    {2, 0, 1}, {0, 0, 2}, {0, 1, 1}, {0, 2, 2}, {2, 0, 0},
};
constexpr int kExtraBytes[kOpcodeCount + 1] = {0, 0, 1, 0, 2, 0, 0, 2, 0, 1, 0};

constexpr std::uint8_t kGateWave = 0x04;
constexpr std::uint8_t kSineWave = 0x40;

template <typename... Args>
std::string describe(int voice, int command, const char* format, Args... args) {
    char reason[160];
    std::snprintf(reason, sizeof reason, format, args...);
    char message[220];
    std::snprintf(message, sizeof message, "voice %d, command %d: %s", voice, command, reason);
    return message;
}

int delay_taps(int taps_byte) {
    int taps = 1;
    while (taps_byte - 2 * taps > 0) {
        ++taps;
    }
    return taps;
}

} // namespace

std::optional<std::string> check_patch(const Song& song) {
    const auto& commands = song.patch_commands;
    const auto& values = song.patch_values;
    std::size_t command_pos = 0;
    std::size_t value_pos = 0;
    int depth = 0;
    int lines_taken = 0;

    for (int voice = 0; voice < song.voice_count; ++voice) {
        for (int k = 0;; ++k) {
            if (command_pos >= commands.size()) {
                return describe(voice, k, "the command stream ends before the instrument's 0 byte");
            }
            const std::uint8_t byte = commands[command_pos++];
            const int opcode = byte >> 1;
            const bool stereo = (byte & 1) != 0;
            if (opcode == 0) {
                break;
            }
            if (k >= kUnitSlots) {
                return describe(voice, k, "more than %d commands in one instrument", kUnitSlots);
            }
            if (opcode > kOpcodeCount) {
                return describe(voice, k, "opcode %d is above %d", opcode, kOpcodeCount);
            }
            const std::size_t needed =
                param_counts[opcode] + static_cast<std::size_t>(kExtraBytes[opcode]);
            if (value_pos + needed > values.size()) {
                return describe(voice, k,
                                "the value stream is too short (%zu bytes needed, %zu left)",
                                needed, values.size() - value_pos);
            }
            const std::uint8_t* own = values.data() + value_pos + param_counts[opcode];
            value_pos += needed;

            StackEffect effect = kStackEffects[opcode];
            switch (opcode) {
            case 2: {
                const bool gate = (own[0] & kGateWave) != 0;
                if (gate == ((own[0] & kSineWave) != 0)) {
                    return describe(voice, k, "oscillator flags 0x%02X select %s waveform", own[0],
                                    gate ? "more than one" : "no");
                }
                if (gate) {
                    effect.peak = 4;
                }
                break;
            }
            case 4: {
                const int taps = delay_taps(static_cast<std::int8_t>(own[1]));
                const int lines = stereo ? 2 * taps : taps;
                if (stereo) {
                    effect = {2, 2, 3};
                }
                if (lines_taken + lines > kDelayLineCount) {
                    return describe(voice, k, "the delays need %d lines, only %d exist",
                                    lines_taken + lines, kDelayLineCount);
                }
                if (own[0] + static_cast<std::size_t>(lines) > song.delay_times.size()) {
                    return describe(
                        voice, k, "delay_times index %d + %d taps is past the table (%zu entries)",
                        own[0], lines, song.delay_times.size());
                }
                lines_taken += lines;
                break;
            }
            case 7: {
                const unsigned target = own[0] | (own[1] << 8);
                const unsigned block = (target >> 4) & 0x7FF;
                if ((target & 0x8000) == 0 && block > kUnitSlots) {
                    return describe(voice, k, "local send block %u is above %d", block, kUnitSlots);
                }
                if (depth < 1) {
                    return describe(voice, k, "the send finds the signal stack empty");
                }
                if ((target & 0x0008) != 0) {
                    effect = {1, 0, 1};
                }
                break;
            }
            case 9:
                if (own[0] > 6) {
                    return describe(voice, k, "op_in channel %d is above 6", own[0]);
                }
                break;
            default:
                break;
            }
            if (depth < effect.pops) {
                return describe(voice, k,
                                "the signal stack would underflow (%d entries, %d popped)", depth,
                                effect.pops);
            }
            if (depth + effect.peak > kSignalStackSize) {
                return describe(voice, k, "the signal stack would exceed %d entries (%d + %d)",
                                kSignalStackSize, depth, effect.peak);
            }
            depth += effect.pushes - effect.pops;
        }
    }
    if (depth != 0) {
        return describe(song.voice_count - 1, 0,
                        "the frame leaves %d values on the signal stack; it must end empty", depth);
    }
    return std::nullopt;
}
