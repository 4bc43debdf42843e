// Win32 backend: the render thread and wave-out playback of the song buffer in place. One device
// header serves the whole song; a seek reuses it, still prepared, with a new start and length.
#include "host/platform/sys.h"
#include "host/platform/win32/win32_headers.h"

// The device records as the 32-bit program passes them (sizes 32 and 12).
static_assert(sizeof(void*) != 4 || (sizeof(WAVEHDR) == 32 && sizeof(MMTIME) == 12));

namespace {

HWAVEOUT wave_out = nullptr;
WAVEHDR device_header{};
void (*render_entry)(float*) = nullptr;

DWORD WINAPI render_thread(LPVOID argument) {
    render_entry(static_cast<float*>(argument));
    return 0;
}

void point_device_header_at(const WaveHeader& header) {
    device_header.lpData = reinterpret_cast<LPSTR>(header.data);
    device_header.dwBufferLength = header.length_bytes;
}

} // namespace

void sys_thread_start(void (*entry)(float*), float* argument) {
    render_entry = entry;
    // Never joined or waited for: the handle is not kept.
    const HANDLE thread = CreateThread(nullptr, 0, render_thread, argument, 0, nullptr);
    static_cast<void>(thread);
}

bool sys_audio_open(const WaveFormat& format) {
    WAVEFORMATEX device_format{};
    device_format.wFormatTag = format.format_tag;
    device_format.nChannels = format.channels;
    device_format.nSamplesPerSec = format.samples_per_sec;
    device_format.nAvgBytesPerSec = format.avg_bytes_per_sec;
    device_format.nBlockAlign = format.block_align;
    device_format.wBitsPerSample = format.bits_per_sample;
    device_format.cbSize = format.extra_size;
    if (waveOutOpen(&wave_out, WAVE_MAPPER, &device_format, 0, 0, CALLBACK_NULL) !=
        MMSYSERR_NOERROR) {
        wave_out = nullptr;
        return false;
    }
    return true;
}

// Without a device the calls below fail on the empty handle and change nothing.
void sys_audio_prepare(WaveHeader& header) {
    point_device_header_at(header);
    waveOutPrepareHeader(wave_out, &device_header, sizeof(device_header));
}

void sys_audio_write(WaveHeader& header) {
    point_device_header_at(header);
    waveOutWrite(wave_out, &device_header, sizeof(device_header));
}

void sys_audio_reset() {
    waveOutReset(wave_out);
}

bool sys_audio_position(std::uint32_t& samples) {
    MMTIME position{};
    position.wType = TIME_SAMPLES;
    if (waveOutGetPosition(wave_out, &position, sizeof(position)) != MMSYSERR_NOERROR) {
        return false;
    }
    // A device may answer in another unit than the one asked for; bytes convert exactly.
    switch (position.wType) {
    case TIME_SAMPLES:
        samples = position.u.sample;
        return true;
    case TIME_BYTES:
        samples = position.u.cb / 8;
        return true;
    default:
        return false;
    }
}
