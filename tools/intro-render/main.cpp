// intro-render: the piece's offline tools behind one command.
#include "subcommands.h"

#include <cstdio>
#include <cstring>

namespace {

struct Subcommand {
    const char* name;
    const char* summary;
    int (*run)(int argc, char** argv);
};

constexpr Subcommand kSubcommands[] = {
    {"wav", "write the song as a 32-bit float stereo WAV file", run_wav},
#ifdef INTRO_RENDER_PICTURES
    {"frame", "draw one moment of the picture, without a window, as a PNG", run_frame},
    {"sheet", "draw chosen moments as captioned thumbnails on one PNG", run_sheet},
#endif
#ifdef INTRO_RENDER_VIDEO
    {"video", "make an MP4 video of the piece, picture and sound in step", run_video},
    {"waveform", "draw the song's waveform and spectrogram as a PNG", run_waveform},
#endif
};

void print_usage(std::FILE* out) {
    std::fprintf(out, "usage: intro-render <command> [options]\n\ncommands:\n");
    for (const Subcommand& c : kSubcommands) {
        std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
    }
    std::fprintf(out, "\n'intro-render <command> --help' describes a command.\n");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        print_usage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        print_usage(stdout);
        return 0;
    }
    for (const Subcommand& c : kSubcommands) {
        if (std::strcmp(argv[1], c.name) == 0) {
            return c.run(argc - 2, argv + 2);
        }
    }
    std::fprintf(stderr, "intro-render: unknown command '%s'\n\n", argv[1]);
    print_usage(stderr);
    return 2;
}
