// Renders the song once and writes SoundBuffer as raw floats, printing a hash of its bytes, so
// that the builds for different systems can be compared bit for bit; --compare counts the samples
// in which two such files differ. Built for Linux and, with the cross toolchain, for Windows.
#include "synth/render_song.h"
#include "synth/sound_buffer.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef _WIN32
// clang-format off
#include <windows.h>
// clang-format on
#else
#include <thread>
#endif

namespace {

void print_usage(std::FILE* stream) {
    std::fprintf(stream,
                 "usage: song_dump [OUTPUT.raw]\n"
                 "       song_dump --compare A.raw B.raw\n"
                 "Renders the song and prints the FNV-1a hash of its buffer, writing the raw\n"
                 "interleaved 32-bit floats to OUTPUT.raw when given. --compare reports the\n"
                 "samples in which two such files differ and exits 1 when any do.\n");
}

std::uint64_t fnv1a64(const unsigned char* bytes, std::size_t count) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (std::size_t i = 0; i < count; ++i) {
        hash = (hash ^ bytes[i]) * 0x100000001b3ULL;
    }
    return hash;
}

bool read_song_file(const char* path, std::vector<float>& samples) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "song_dump: cannot open %s\n", path);
        return false;
    }
    samples.assign(kSoundBufferFloats, 0.0f);
    const std::size_t read = std::fread(samples.data(), sizeof(float), samples.size(), file);
    const bool at_end = std::fgetc(file) == EOF;
    std::fclose(file);
    if (read != samples.size() || !at_end) {
        std::fprintf(stderr, "song_dump: %s does not hold exactly %u floats\n", path,
                     kSoundBufferFloats);
        return false;
    }
    return true;
}

int compare(const char* path_a, const char* path_b) {
    std::vector<float> a;
    std::vector<float> b;
    if (!read_song_file(path_a, a) || !read_song_file(path_b, b)) {
        return 2;
    }
    std::size_t differing = 0;
    std::size_t first = 0;
    double largest = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) {
            if (differing == 0) {
                first = i;
            }
            ++differing;
            largest = std::fmax(largest, std::fabs(double{a[i]} - double{b[i]}));
        }
    }
    if (differing == 0) {
        std::printf("identical: all %zu samples have the same bits\n", a.size());
        return 0;
    }
    std::printf("%zu of %zu samples differ; the first at sample %zu (frame %zu, %s): %.9g vs "
                "%.9g; largest difference %.3g\n",
                differing, a.size(), first, first / 2, first % 2 == 0 ? "left" : "right",
                double{a[first]}, double{b[first]}, largest);
    return 1;
}

#ifdef _WIN32
DWORD WINAPI render_thread(LPVOID destination) {
    render_song(static_cast<float*>(destination));
    return 0;
}
#endif

// Renders the way the program does: on a thread of its own (on Windows a new thread starts with
// the system's floating-point settings, not those the runtime gave the main thread).
void render_like_the_program() {
#ifdef _WIN32
    const HANDLE thread = CreateThread(nullptr, 0, render_thread, SoundBuffer, 0, nullptr);
    if (thread == nullptr) {
        render_song(SoundBuffer);
        return;
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
#else
    std::thread(render_song, SoundBuffer).join();
#endif
}

int render(const char* output_path) {
    std::fprintf(stderr, "song_dump: rendering %u frames...\n", kSongFrames);
    render_like_the_program();
    const auto* bytes = reinterpret_cast<const unsigned char*>(SoundBuffer);
    std::printf("fnv1a64 %016llx over %u bytes\n",
                static_cast<unsigned long long>(fnv1a64(bytes, kSoundBufferBytes)),
                kSoundBufferBytes);
    if (output_path == nullptr) {
        return 0;
    }
    std::FILE* file = std::fopen(output_path, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "song_dump: cannot create %s\n", output_path);
        return 1;
    }
    const std::size_t written = std::fwrite(SoundBuffer, sizeof(float), kSoundBufferFloats, file);
    const bool closed = std::fclose(file) == 0;
    if (written != kSoundBufferFloats || !closed) {
        std::fprintf(stderr, "song_dump: writing %s failed; the file is incomplete\n", output_path);
        std::remove(output_path);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        print_usage(stdout);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "--compare") == 0) {
        return compare(argv[2], argv[3]);
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        print_usage(stderr);
        return 2;
    }
    return render(argc == 2 ? argv[1] : nullptr);
}
