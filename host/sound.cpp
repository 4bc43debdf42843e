#include "host/sound.h"

#include "synth/render_song.h"
#include "synth/sound_buffer.h"

#include <cstdio>

static_assert(kSongFloats == static_cast<std::int32_t>(kSoundBufferFloats));
static_assert(kSongBytes == kSoundBufferBytes);

const WaveFormat wave_format = {
    .format_tag = 3, // IEEE float
    .channels = 2,
    .samples_per_sec = 44'100,
    .avg_bytes_per_sec = 352'800,
    .block_align = 8,
    .bits_per_sample = 32,
    .extra_size = 0,
};

WaveHeader wave_header = {SoundBuffer, kSongBytes};
std::uint32_t device_position = 0;
std::int32_t seek_offset = 0;

void init_sound() {
    sys_thread_start(render_song, SoundBuffer);
    sys_audio_open(wave_format);
    sys_audio_prepare(wave_header);
    sys_audio_write(wave_header);
}

void audio_seek(std::int32_t direction) {
    std::printf("last offset %d\n", seek_offset);
    std::uint32_t samples = 0;
    sys_audio_position(samples);
    const std::int64_t delta = std::int64_t{direction} * kSeekFloatsPerSecond;
    sys_audio_reset();
    // Wider than the 32 bits the values need, so that no device count can overflow it.
    std::int64_t n = seek_offset + 2 * std::int64_t{samples} + delta;
    n %= kSongFloats; // truncating: a negative index stays negative and is clamped below
    if (n < 0) {
        n = 0;
    }
    wave_header.data = SoundBuffer + n;
    wave_header.length_bytes = kSongBytes - 4 * static_cast<std::uint32_t>(n);
    sys_audio_write(wave_header);
    seek_offset = static_cast<std::int32_t>(n);
}

std::int32_t read_play_position() {
    sys_audio_position(device_position);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(seek_offset / 2) + device_position);
}
