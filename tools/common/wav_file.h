// 32-bit float WAV (WAVE_FORMAT_IEEE_FLOAT) writing, for the song and its excerpts.
#pragma once

#include <cstdint>
#include <cstdio>

inline constexpr std::uint32_t kWavHeaderBytes = 58; // RIFF, fmt (18 bytes), fact, data headers

// Writes the header and the interleaved frames, little-endian. Returns false on a write error.
bool write_float_wav(std::FILE* out, const float* interleaved, std::uint32_t frames,
                     std::uint16_t channels, std::uint32_t sample_rate);
