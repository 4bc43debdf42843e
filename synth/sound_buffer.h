// The song-long stereo buffer that the synthesizer fills and everything else plays or exports.
#pragma once

#include <cstdint>

inline constexpr std::uint32_t kSampleRate = 44'100;
inline constexpr std::uint32_t kRowFrames = 4'658;
inline constexpr std::uint32_t kPatternRows = 32;
inline constexpr std::uint32_t kSongRows = 640;
inline constexpr std::uint32_t kSongFrames = kSongRows * kRowFrames; // 2,981,120
inline constexpr std::uint32_t kSoundBufferFloats = 2 * kSongFrames; // interleaved, left first
inline constexpr std::uint32_t kSoundBufferBytes = kSoundBufferFloats * 4;

static_assert(kSongFrames == 2'981'120 && kSoundBufferBytes == 23'848'960);

// Zero until rendered; written once, front to back, by render_song.
extern float SoundBuffer[kSoundBufferFloats];
