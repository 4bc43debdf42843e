// intro-render wav: the song, exactly as the program plays it, as a WAV file.
#include "atomic_file.h"
#include "patch_check.h"
#include "render_song.h"
#include "sound_buffer.h"
#include "subcommands.h"
#include "wav_file.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void print_help(std::FILE* out) {
    std::fprintf(out,
                 "usage: intro-render wav OUTPUT.wav\n\n"
                 "Renders the song and writes it as a 32-bit float stereo WAV at 44,100 Hz:\n"
                 "%u frames, the very samples the program plays. The file appears under its\n"
                 "name only once it is complete.\n",
                 kSongFrames);
}

} // namespace

int run_wav(int argc, char** argv) {
    const char* output = nullptr;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            print_help(stdout);
            return 0;
        }
        if (argv[i][0] == '-' || output != nullptr) {
            std::fprintf(stderr, "intro-render wav: unexpected argument '%s'\n\n", argv[i]);
            print_help(stderr);
            return 2;
        }
        output = argv[i];
    }
    if (output == nullptr) {
        std::fprintf(stderr, "intro-render wav: name the WAV file to write\n\n");
        print_help(stderr);
        return 2;
    }
    if (const auto fault = check_patch(the_song)) {
        std::fprintf(stderr, "intro-render wav: the song's patch is malformed: %s\n",
                     fault->c_str());
        return 1;
    }

    // Open first, so that a bad path fails before the render.
    std::string error;
    AtomicFile file;
    if (!file.open(output, error)) {
        std::fprintf(stderr, "intro-render wav: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "Rendering the song (%.1f s of audio)...\n",
                 static_cast<double>(kSongFrames) / kSampleRate);
    render_song(SoundBuffer);

    if (!write_float_wav(file.stream(), SoundBuffer, kSongFrames, 2, kSampleRate)) {
        std::fprintf(stderr, "intro-render wav: cannot write '%s': the disk may be full\n", output);
        return 1;
    }
    if (!file.commit(error)) {
        std::fprintf(stderr, "intro-render wav: %s\n", error.c_str());
        return 1;
    }
    std::fprintf(stderr, "Wrote %s: %u frames of 32-bit float stereo at %u Hz.\n", output,
                 kSongFrames, kSampleRate);
    return 0;
}
