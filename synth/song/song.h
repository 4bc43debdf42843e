// The song's tables: the patch, the note patterns, the tracks and the delay lengths.
#pragma once

#include "../patch_vm.h"

#include <cstddef>
#include <cstdint>
#include <span>

inline constexpr int kTrackCount = 3;
inline constexpr int kOrderPositions = 20;
inline constexpr int kSongVoices = 4;

// Pattern events: 0 release, 1 hold, 2..255 note-on with that note.
inline constexpr std::uint8_t kEventRelease = 0;
inline constexpr std::uint8_t kEventHold = 1;

struct Song {
    std::span<const std::uint8_t> patch_commands;
    std::span<const std::uint8_t> patch_values;
    std::span<const std::uint8_t> patterns; // 32 event bytes per pattern
    std::span<const std::uint8_t> tracks;   // 20 pattern numbers per track; track t drives voice t
    std::span<const std::uint16_t> delay_times;
    int voice_count;

    Patch patch() const { return {patch_commands.data(), patch_values.data(), delay_times.data()}; }
};

extern const Song the_song;
