// Sound playback of the song buffer, the audio clock and seeking by whole seconds.
#pragma once

#include "host/platform/sys.h"

#include <cstdint>

inline constexpr std::int32_t kSeekFloatsPerSecond = 88'200;
inline constexpr std::int32_t kSongFloats = 5'962'240;
inline constexpr std::uint32_t kSongBytes = 23'848'960;

// Stereo 32-bit float at 44,100 Hz.
extern const WaveFormat wave_format;
// The one header: where the current playback starts and how many bytes it plays.
extern WaveHeader wave_header;
// The device's last reported position in sample frames.
extern std::uint32_t device_position;
// Float index of the first buffer element of the current playback; even, in [0, kSongFloats).
extern std::int32_t seek_offset;

// Starts the render thread on the song buffer and, at once, playback of the whole buffer.
void init_sound();

// Restarts playback direction seconds later (+1) or earlier (-1) than the current position:
// clamped to the start going back, wrapping past the end going forward.
void audio_seek(std::int32_t direction);

// Asks the device for its position and returns the play position in sample frames since the
// start of the song (seek_offset / 2 + the device's count).
std::int32_t read_play_position();
