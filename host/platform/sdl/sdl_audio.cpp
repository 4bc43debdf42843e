// Sound through SDL2: the default output device in float32 stereo at 44,100 Hz, fed by a
// callback that copies from the song buffer as it plays (SDL cannot read memory in place), and
// the render thread as a detached SDL thread.
#include "host/platform/sdl/stream_player.h"
#include "host/platform/sys.h"
#include "synth/render_song.h"
#include "synth/sound_buffer.h"

#include <SDL.h>
#include <chrono>
#include <cstdio>

namespace {

std::int64_t now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

StreamPlayer player(SoundBuffer, kSongFrames, rendered_frames, kSampleRate);
SDL_AudioDeviceID device = 0;

void SDLCALL audio_callback(void*, Uint8* stream, int bytes) {
    player.fill(reinterpret_cast<float*>(stream), static_cast<std::uint32_t>(bytes) / 8, now_ns());
}

struct ThreadStart {
    void (*entry)(float*);
    float* argument;
};
ThreadStart thread_start;

int SDLCALL thread_main(void* data) {
    const auto* start = static_cast<const ThreadStart*>(data);
    start->entry(start->argument);
    return 0;
}

} // namespace

void sys_thread_start(void (*entry)(float*), float* argument) {
    thread_start = {entry, argument};
    if (SDL_Thread* thread = SDL_CreateThread(thread_main, "render", &thread_start)) {
        SDL_DetachThread(thread);
    }
}

bool sys_audio_open(const WaveFormat& format) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr,
                     "No sound: SDL could not start its audio (%s); the clock stands "
                     "still.\n",
                     SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(format.samples_per_sec);
    want.format = AUDIO_F32SYS;
    want.channels = static_cast<Uint8>(format.channels);
    want.samples = 1024;
    want.callback = audio_callback;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the hardware wants.
    device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        std::fprintf(stderr, "No sound: no audio output device (%s); the clock stands still.\n",
                     SDL_GetError());
        return false;
    }
    player.set_latency(have.samples);
    return true;
}

void sys_audio_prepare(WaveHeader&) {}

void sys_audio_write(WaveHeader& header) {
    if (device == 0) {
        return;
    }
    const auto first_frame = static_cast<std::uint32_t>((header.data - SoundBuffer) / 2);
    player.start(first_frame, header.length_bytes / 8, now_ns());
    SDL_PauseAudioDevice(device, 0);
}

void sys_audio_reset() {
    if (device == 0) {
        return;
    }
    player.stop();
}

bool sys_audio_position(std::uint32_t& samples) {
    if (device == 0) {
        return false;
    }
    samples = player.position(now_ns());
    return true;
}
